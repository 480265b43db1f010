#include "shell/app_font.h"

#include "platform/qt/ansi_string.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace shell {
namespace {

// A settings file may hold any number; fonts far outside this range are of no use and
// slow to make.
constexpr int kMaxPixelSize = 400;
constexpr int kDefaultPixelSize = 13;

int ClampPixels(int pixels)
{
    return std::clamp(pixels, 1, kMaxPixelSize);
}

// The style of `family` that `drawn` is drawn in. The font dialog finds a style by its name
// and takes the family's first one for a name it lacks, which may be an oblique or a light
// one; so the name comes from the face in use, or else from the styles of the family.
QString StyleInUse(const QString& family, const QFont& drawn)
{
    const QStringList styles = QFontDatabase::styles(family);
    const QString used = QFontInfo(drawn).styleName();
    if (styles.contains(used))
        return used;
    for (const QString& style : styles) {
        if (QFontDatabase::weight(family, style) == drawn.weight()
            && QFontDatabase::italic(family, style) == drawn.italic())
            return style;
    }
    return {};
}

} // namespace

int ScreenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 0;
    return dpi > 0 ? dpi : 96;
}

QFont FontFromRecord(const FontRecord& record)
{
    QFont font(platform::qt::FromAnsi(record.faceName));
    if (record.height < 0) {
        font.setPixelSize(ClampPixels(-record.height));
    } else if (record.height > 0) {
        // A cell height: the largest character height whose line fits in it.
        const int cell = ClampPixels(record.height);
        int pixels = cell;
        for (; pixels > 1; --pixels) {
            font.setPixelSize(pixels);
            if (QFontMetrics(font).height() <= cell)
                break;
        }
        font.setPixelSize(pixels);
    } else {
        font.setPixelSize(kDefaultPixelSize);
    }
    const int weight = record.weight <= 0 ? 400 : std::clamp(record.weight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(record.italic != 0);
    return font;
}

FontRecord RecordForPoints(const FontRecord& base, double points, int dpi)
{
    FontRecord record = base;
    record.height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return record;
}

FontRecord RecordFromFont(const QFont& font, int dpi)
{
    FontRecord record;
    record.faceName = platform::qt::ToAnsi(font.family());
    if (record.faceName.size() > FontRecord::kMaxFaceName)
        record.faceName.resize(FontRecord::kMaxFaceName);
    record.height = font.pixelSize() > 0
        ? -font.pixelSize()
        : -static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
    record.weight = static_cast<int>(font.weight());
    record.italic = font.italic() ? 1 : 0;
    return record;
}

QFont FontInUse(const FontRecord& record, int dpi)
{
    const QFont drawn = FontFromRecord(record);
    const QString family = QFontInfo(drawn).family();
    QFont font(family);
    font.setWeight(drawn.weight());
    font.setItalic(drawn.italic());
    font.setStyleName(StyleInUse(family, drawn));
    font.setPointSize(std::max(1, PointSizeOfHeight(drawn.pixelSize(), dpi)));
    return font;
}

bool SameFontChoice(const QFont& a, const QFont& b)
{
    if (a.family().compare(b.family(), Qt::CaseInsensitive) != 0 || a.pointSize() != b.pointSize())
        return false;
    if (!a.styleName().isEmpty() && !b.styleName().isEmpty())
        return a.styleName() == b.styleName();
    return a.weight() == b.weight() && a.italic() == b.italic();
}

int PointSizeOfHeight(int height, int dpi)
{
    const long long scaled = static_cast<long long>(std::llabs(height)) * 72;
    return static_cast<int>((scaled * 2 + dpi) / (2LL * dpi));
}

FontRecord DefaultFontRecord(int dpi)
{
    return RecordForPoints(FontRecord {}, 10, dpi);
}

} // namespace shell
