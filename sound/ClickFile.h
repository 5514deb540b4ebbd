#pragma once

#include "Wave.h"

#include <optional>
#include <string>

// A click as the sound server stores it: its samples with silence after
// them, and a name from its content.
struct TClick {
    TWave Wave;
    std::string Name;
};

// Reads a click from its file. Nothing for a file that is missing,
// unreadable, larger than the server keeps, not a regular file, or not a
// wave the server can play.
std::optional<TClick> ReadClick(const std::string& path);
