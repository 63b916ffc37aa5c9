#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

// Converts dialog-template units to pixels with the metrics of a dialog's font, the
// way dialog templates are laid out: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height. Dialogs built
// from these sizes keep their proportions whatever font the desktop uses.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);
    explicit DialogUnits(const QWidget& widget);

    int x(int units) const;
    int y(int units) const;
    QSize size(int width, int height) const;

private:
    int m_baseX = 0;
    int m_baseY = 0;
};
