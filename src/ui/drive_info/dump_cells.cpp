#include "ui/drive_info/dump_cells.h"

#include <QFontMetricsF>

#include <array>

namespace volmara {
namespace {

// Drawn by the text engine as nothing, or as a break or a mark on its neighbour.
bool drawsNoCellOfItsOwn(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

class Cells {
public:
    explicit Cells(const QFont& font) : metrics_(font), cell_(metrics_.horizontalAdvance(QStringLiteral("0"))) {}

    // Its own glyph, one cell wide, as the engine lays it out in a line.
    bool fits(QChar c) const
    {
        return !drawsNoCellOfItsOwn(c) && metrics_.inFont(c) && qFuzzyCompare(metrics_.horizontalAdvance(QString(c)), cell_);
    }

    // Marks no byte value of its own where the font allows: a dot is also byte 0x2E.
    QChar standIn() const
    {
        for (const QChar candidate : std::array{QChar(0x25E6), QChar(0x2022), QChar(0xFFFD)}) {
            if (fits(candidate))
                return candidate;
        }
        return QLatin1Char('.');
    }

private:
    QFontMetricsF metrics_;
    qreal cell_;
};

} // namespace

QChar dumpStandIn(const QFont& font) { return Cells(font).standIn(); }

QString dumpCells(const QString& dump, const QFont& font)
{
    const Cells cells(font);
    const QChar standIn = cells.standIn();
    QString shown = dump;
    for (QChar& c : shown) {
        if (c != QLatin1Char('\n') && !cells.fits(c))
            c = standIn;
    }
    return shown;
}

} // namespace volmara
