#pragma once

#include <string>

// The folder of the running executable, with a trailing separator; empty if unknown.
std::string ProgramFolder();
