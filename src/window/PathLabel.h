#pragma once

#include <QLabel>

// A label that shows a file path compacted with an ellipsis in the middle so that
// it fits the label's width; the full path stays in the tooltip.
class PathLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);

    void setPath(const QString& path);
    QString path() const { return m_path; }

    // The path as shown in the given width with the given font metrics.
    static QString Compact(const QString& path, const QFontMetrics& metrics, int width);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateText();

    QString m_path;
};
