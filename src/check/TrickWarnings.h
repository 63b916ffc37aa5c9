#pragma once

#include "check/TextReading.h"

#include <QString>
#include <QStringList>

struct CheckOutcome;

// The Russian warnings about the tricks a Check saw through, as the text report and
// the window show them.
namespace TrickWarnings {

// "Подозрительные приёмы в изменённой копии:" or "... в оригинале:".
QString Heading(bool edited);
// One line per finding, e.g. "37 слов с латинскими буквами вместо русских (например, «пpимер»)".
QString Line(const TrickFinding& finding);
// "Сервисы проверки распознают эти приёмы и помечают документ как подозрительный."
QString Closing();
// The warning of each document that holds tricks, edited copy first: heading, lines and
// closing, each line ending with a line feed. Empty when neither holds any.
QString Block(const CheckOutcome& outcome);
// The line that ends the verdict on a match that only exists because a trick was seen through.
QString SeenThrough();

} // namespace TrickWarnings
