// What each command shows: its menu text, status-bar prompt, tool tip,
// toolbar image and accelerator keys. The main frame makes its actions from it.
#pragma once

#include "app/CommandIds.h"

#include <span>

struct CommandInfo {
    CommandId id;
    const char* menuText; // as the menus show it; null for commands in no menu
    const char* prompt;   // status pane 0 while highlighted; null for none
    const char* tip;      // tool tip; null for none
    const char* image;    // toolbar image resource; null for no button
    const char* keys;     // accelerators, separated by "; "; null for none
};

std::span<const CommandInfo> CommandTable();

// The entry of id; every id of CommandId has one.
const CommandInfo& CommandEntry(CommandId id);

// The toolbar from left to right; 0 stands for the separator.
std::span<const CommandId> ToolbarLayout();
