#pragma once

#include <QToolBar>

class QComboBox;

namespace shell {

// The font bar: the list of every font face the display offers and a list of sizes (8 to
// 20 points, or a size typed in). Choosing in either, or finishing a typed size, asks for
// the font to change; the main window decides what follows and shows the font in use with
// ShowFont.
class FontBar : public QToolBar
{
    Q_OBJECT

public:
    static constexpr int kDialogTemplate = 128;

    explicit FontBar(QWidget* parent = nullptr);

    // Fills the face list anew, sorted.
    void FillFaces();
    // Shows `points` in the size list and, when `face` is not empty, selects that face.
    void ShowFont(int points, const QString& face);
    // The labels read again from the current resource set, after a language switch.
    void ReloadTexts();

    QComboBox* FaceList() const { return m_faces; }
    QComboBox* SizeList() const { return m_sizes; }

signals:
    // The user chose a face or a size, or typed a size other than the one shown: the
    // selected face (empty when none is selected) and the size text.
    void FontChosen(const QString& face, const QString& sizeText);

private:
    void EmitChoice();

    QComboBox* m_faces;
    QComboBox* m_sizes;
    QString m_shownSize; // the size ShowFont last showed
};

} // namespace shell
