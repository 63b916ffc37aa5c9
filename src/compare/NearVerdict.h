#pragma once

#include "compare/NearExplanation.h"

#include <QString>

// The verdict in Russian on a near match: how much is still the same, what changed,
// naming the words, and what to do. Parts with nothing to say are left out, e.g.
// "Совпадает 87% слов. Удалено: «английский». Добавлено: «также». Изменена форма:
// «моряком» → «моряк». Замените больше слов или перестройте предложение."
QString NearVerdict(const NearExplanation& explanation);

// A list names at most this many words, then says how many more there are.
constexpr qsizetype kNearVerdictListLimit = 8;
