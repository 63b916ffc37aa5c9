#include "word/WordProcessor.h"

WordProcessor::~WordProcessor() = default;
