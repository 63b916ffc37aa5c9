#pragma once

#include "check/CheckSession.h"

#include <QList>
#include <QWidget>

// A map of the copy: a strip with its sentences from top to bottom in text order, each
// as tall as its share of the words and coloured by what it is (matched exactly, near
// match, the copy's own), striped where a disguise was found. Clicking a matched sentence asks for its row.
class CopyMap : public QWidget
{
    Q_OBJECT
public:
    explicit CopyMap(QWidget* parent = nullptr);

    void setCells(QList<CheckSession::MapCell> cells);
    const QList<CheckSession::MapCell>& cells() const { return m_cells; }
    // The cell drawn at height y of the strip, or -1.
    qsizetype cellAt(int y) const;

    static QColor colour(CheckSession::MapCell::Kind kind);
    // The stripe over a sentence that holds a disguise.
    static QColor TrickColour();

    QSize sizeHint() const override;

signals:
    void rowClicked(qsizetype row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Where cell i starts; cell count + 1 entries, the last one the strip's height.
    QList<int> Edges() const;

    QList<CheckSession::MapCell> m_cells;
};
