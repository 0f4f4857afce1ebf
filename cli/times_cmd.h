#pragma once
#include <CLI/CLI.hpp>

#include <functional>

// Adds the `times` subcommand; the returned function runs it after parsing.
std::function<int()> addTimesCommand(CLI::App& app);
