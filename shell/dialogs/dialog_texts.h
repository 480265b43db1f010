#pragma once

#include "platform/resource_source.h"

#include <QString>

class QDialog;
class QDialogButtonBox;

#include <optional>

namespace shell {

// The texts of one dialog of the resource set: its caption and its controls' texts, empty
// where the set gives none (a language file may lack some).
class DialogTexts
{
public:
    explicit DialogTexts(int dialogId);

    QString Caption() const;
    QString Control(int controlId) const;

private:
    std::optional<platform::DialogResource> m_dialog;
};

// String `id` of the resource set as the widgets show it.
QString ResourceText(int id);

// The OK (default) and Cancel buttons of a dialog, stacked, named IDOK and IDCANCEL; the
// caller connects their accepted and rejected signals.
QDialogButtonBox* AddOkCancel(QDialog* dialog, const DialogTexts& texts);

} // namespace shell
