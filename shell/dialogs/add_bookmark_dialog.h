#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shell {

class CUpDownCtrl;

// What the Add a Bookmark dialog starts from: the table's fields in table order, its record
// count, the record and field the cursor is on, and how to tell a name already taken.
// Texts are cp1251.
struct AddBookmarkSetup
{
    std::vector<std::string> fieldNames;
    long long recordCount = 0;
    long long record = 1; // 1 when the cursor's record is not known
    int field = -1;       // index into fieldNames; -1 selects none
    std::function<bool(const std::string& name)> exists;
};

// The Add a Bookmark dialog: a name, a record number (1 to the record count) and a field.
// Until the user edits the name it follows the record and the field ("Bkm_12_NAME"). The
// message line says what to fill in, and why OK is disabled when the name is empty or the
// record is out of range. OK on a name already taken asks in place whether to overwrite it,
// OK and Cancel becoming "Yes" and "No"; "No" (or any change) goes back to editing.
//
// It decides nothing: after OK its caller sets the bookmark from Name(), Record() and
// Field(). With no records or no fields there is nothing to mark and exec() gives Rejected
// at once.
class CAddBookmarkDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAddBookmarkDialog(AddBookmarkSetup setup, QWidget* parent = nullptr);

    int exec() override;
    void reject() override;

    std::string Name() const;
    long long Record() const;
    std::string Field() const;
    // Whether OK now asks to overwrite a bookmark of that name.
    bool IsAsking() const { return m_asking; }

private:
    void FollowRecordAndField();
    void OnNameEdited();
    void UpdateState();
    void OnOk();
    void StopAsking();

    AddBookmarkSetup m_setup;
    bool m_nameEdited = false;
    bool m_asking = false;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_record = nullptr;
    CUpDownCtrl* m_recordSpin = nullptr;
    QComboBox* m_field = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_okText;
    QString m_cancelText;
};

} // namespace shell
