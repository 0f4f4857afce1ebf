#pragma once
#include <CLI/CLI.hpp>

#include <functional>

// Adds the `numbers` subcommand; the returned function runs it after parsing.
std::function<int()> addNumbersCommand(CLI::App& app);
