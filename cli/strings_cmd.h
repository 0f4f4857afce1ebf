#pragma once
#include <CLI/CLI.hpp>

#include <functional>

// Adds the `strings` subcommand; the returned function runs it after parsing.
std::function<int()> addStringsCommand(CLI::App& app);
