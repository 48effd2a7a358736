#pragma once

#include <QFont>
#include <QString>

namespace volmara {

// The character dump in the cells of a fixed-pitch font: every character keeps one cell, so the
// eight columns stay a grid. A character that would draw nothing or take another width (a soft
// hyphen, a control code, a code the font has no glyph for) shows a visible stand-in instead;
// line breaks stay as they are.
QString dumpCells(const QString& dump, const QFont& font);

// The stand-in `dumpCells` draws in `font`.
QChar dumpStandIn(const QFont& font);

} // namespace volmara
