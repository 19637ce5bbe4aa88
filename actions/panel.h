#pragma once

#include <memory>

class Main;

// The panel as the program runs it: the window with its station link and
// every action wired in.
std::unique_ptr<Main> createPanel();
