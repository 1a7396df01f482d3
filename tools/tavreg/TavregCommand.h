// The tavreg command line: look at, change, export and import the user's registry store.
#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string>

// Runs one command (the arguments after the program's name); returns the exit status:
// 0 done, 1 failed, 2 not understood. Before a file is written over, the person is asked on
// err and answers on in (unless --force); without the input stream nothing is written over.
int RunTavreg(std::span<const std::string> arguments, std::ostream& out, std::ostream& err, std::istream& in);
int RunTavreg(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);
