#include "window/CopyMap.h"

#include <QMouseEvent>
#include <QPainter>

CopyMap::CopyMap(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("copyMap"));
    setToolTip(QStringLiteral(u"Карта копии: предложения по порядку текста, высота — по числу слов.\n"
                              u"Красные совпадают с оригиналом, оранжевые — похожие фразы, зелёные — свои.\n"
                              u"Фиолетовая полоса — в предложении найден приём маскировки.\n"
                              u"Оригинальность — доля слов в зелёных предложениях. Щелчок показывает фразу."));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

QSize CopyMap::sizeHint() const
{
    return {fontMetrics().height(), 10 * fontMetrics().height()};
}

QColor CopyMap::colour(CheckSession::MapCell::Kind kind)
{
    switch (kind) {
    case CheckSession::MapCell::Kind::Exact:
        return QColor(0xd6, 0x3c, 0x3c);
    case CheckSession::MapCell::Kind::Near:
        return QColor(0xf0, 0xa0, 0x28);
    case CheckSession::MapCell::Kind::Original:
        break;
    }
    return QColor(0x5a, 0xaa, 0x5a);
}

QColor CopyMap::TrickColour()
{
    return QColor(0x8e, 0x44, 0xad);
}

void CopyMap::setCells(QList<CheckSession::MapCell> cells)
{
    m_cells = std::move(cells);
    update();
}

QList<int> CopyMap::Edges() const
{
    qint64 total = 0;
    for (const CheckSession::MapCell& cell : m_cells)
        total += std::max(cell.words, 1);
    QList<int> edges;
    edges.reserve(m_cells.size() + 1);
    qint64 before = 0;
    for (const CheckSession::MapCell& cell : m_cells) {
        edges << int(total > 0 ? before * height() / total : 0);
        before += std::max(cell.words, 1);
    }
    edges << height();
    return edges;
}

qsizetype CopyMap::cellAt(int y) const
{
    const QList<int> edges = Edges();
    for (qsizetype i = 0; i < m_cells.size(); ++i) {
        if (y >= edges.at(i) && y < edges.at(i + 1))
            return i;
    }
    return -1;
}

void CopyMap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QList<int> edges = Edges();
    for (qsizetype i = 0; i < m_cells.size(); ++i) {
        // At least a pixel each: a short sentence in a long copy still shows.
        const int top = edges.at(i);
        const int bottom = std::max(edges.at(i + 1), top + 1);
        painter.fillRect(QRect(0, top, width(), bottom - top), colour(m_cells.at(i).kind));
        // A disguise found in the sentence: a stripe on the right, over whatever it is.
        if (m_cells.at(i).tricked)
            painter.fillRect(QRect(width() - width() / 3, top, width() / 3, bottom - top), TrickColour());
    }
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CopyMap::mousePressEvent(QMouseEvent* event)
{
    const qsizetype cell = cellAt(int(event->position().y()));
    if (cell >= 0 && m_cells.at(cell).row >= 0)
        emit rowClicked(m_cells.at(cell).row);
    QWidget::mousePressEvent(event);
}
