#pragma once

#include "morph/Stemmer.h"

#include <functional>

// A stemmer whose stems a test chooses; without a function every word is its own stem.
class FakeStemmer final : public Stemmer
{
public:
    using Function = std::function<QString(const QString&)>;

    explicit FakeStemmer(Function function = {}) : m_function(std::move(function)) {}
    void set(Function function) { m_function = std::move(function); }
    QString GetStem(const QString& word) override { return m_function ? m_function(word) : word; }

private:
    Function m_function;
};
