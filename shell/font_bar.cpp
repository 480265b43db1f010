#include "shell/font_bar.h"

#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>

#include <utility>
#include <QLineEdit>

namespace shell {
namespace {

constexpr int kSizes[] = { 8, 9, 10, 11, 12, 14, 16, 18, 20 };

QString ControlText(int controlId)
{
    const std::optional<platform::DialogResource> dialog
        = platform::LoadDialog(FontBar::kDialogTemplate);
    const std::string* text = dialog ? dialog->ControlText(controlId) : nullptr;
    return text ? platform::qt::FromAnsi(*text) : QString();
}

} // namespace

void FontBar::ReloadTexts()
{
    for (const auto& [id, name] : { std::pair { IDC_FONT_FACE_LABEL, "IDC_FONT_FACE_LABEL" },
             std::pair { IDC_FONT_SIZE_LABEL, "IDC_FONT_SIZE_LABEL" } }) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)))
            label->setText(ControlText(id));
    }
}

FontBar::FontBar(QWidget* parent)
    : QToolBar(parent)
    , m_faces(new QComboBox(this))
    , m_sizes(new QComboBox(this))
{
    setObjectName(QStringLiteral("IDD_FONT_BAR"));
    setFloatable(false);
    auto* faceLabel = new QLabel(ControlText(IDC_FONT_FACE_LABEL), this);
    faceLabel->setObjectName(QStringLiteral("IDC_FONT_FACE_LABEL"));
    auto* sizeLabel = new QLabel(ControlText(IDC_FONT_SIZE_LABEL), this);
    sizeLabel->setObjectName(QStringLiteral("IDC_FONT_SIZE_LABEL"));
    m_faces->setObjectName(QStringLiteral("IDC_FONT_FACE"));
    m_faces->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_faces->setMinimumContentsLength(16);
    m_sizes->setObjectName(QStringLiteral("IDC_FONT_SIZE"));
    m_sizes->setEditable(true);
    m_sizes->setInsertPolicy(QComboBox::NoInsert);
    m_sizes->setMinimumContentsLength(3);
    for (const int size : kSizes)
        m_sizes->addItem(QString::number(size));
    faceLabel->setBuddy(m_faces);
    sizeLabel->setBuddy(m_sizes);
    addWidget(faceLabel);
    addWidget(m_faces);
    addWidget(sizeLabel);
    addWidget(m_sizes);
    connect(m_faces, &QComboBox::activated, this, &FontBar::EmitChoice);
    connect(m_sizes, &QComboBox::activated, this, &FontBar::EmitChoice);
    // The list offers some sizes; others are typed. A typed size counts once the typing ends
    // (Enter, or the box losing the focus), unless it is the size shown already: an entry of
    // the list chosen by Enter has been applied by then.
    connect(m_sizes->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_sizes->currentText() != m_shownSize)
            EmitChoice();
    });
}

void FontBar::FillFaces()
{
    m_faces->clear();
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    m_faces->addItems(families);
    m_faces->setCurrentIndex(-1);
}

void FontBar::ShowFont(int points, const QString& face)
{
    m_sizes->setCurrentIndex(m_sizes->findText(QString::number(points)));
    m_shownSize = QString::number(points);
    m_sizes->setEditText(m_shownSize);
    if (!face.isEmpty())
        m_faces->setCurrentIndex(m_faces->findText(face, Qt::MatchFixedString));
}

void FontBar::EmitChoice()
{
    emit FontChosen(m_faces->currentIndex() >= 0 ? m_faces->currentText() : QString(),
        m_sizes->currentText());
}

} // namespace shell
