#include "window/PathLabel.h"

#include <QDir>
#include <QFontMetrics>
#include <QResizeEvent>

PathLabel::PathLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    // The label never grows with its path; the path shrinks to the label instead.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(1);
}

void PathLabel::setPath(const QString& path)
{
    m_path = path;
    setToolTip(QDir::toNativeSeparators(path));
    UpdateText();
}

QString PathLabel::Compact(const QString& path, const QFontMetrics& metrics, int width)
{
    return metrics.elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, qMax(0, width));
}

void PathLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    UpdateText();
}

void PathLabel::UpdateText()
{
    setText(Compact(m_path, fontMetrics(), contentsRect().width()));
}
