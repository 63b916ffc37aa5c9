#pragma once

#include "word/WordProcessor.h"

#include <memory>

// The word processor of this machine: the real one when it is installed, otherwise
// one that does nothing.
std::unique_ptr<WordProcessor> CreateWordProcessor();
