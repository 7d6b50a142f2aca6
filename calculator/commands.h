// The calculator's buttons as data: each entry binds a button to its handler, its hint
// (tooltip), the name the batch tool uses for it, and its place in the "Calculate" grid.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "form.h"

struct CommandInfo {
    std::string_view button;  // "SpeedButton18"
    std::string_view hint;    // tooltip text
    std::string_view name;    // label line; "A^x" / "B^x" for the powers; "AuTo"
    int row;                  // grid row 0..14
    int column;               // 0 commands on A, 1 on B, 2 two-operand and the rest
    int rowSpan;              // 2 for "AuTo", else 1
    void (TForm1::*handler)();
};

// All 44 buttons, in grid order (row by row, left to right).
std::span<const CommandInfo> AllCommands();

// The 43 commands of the automatic run, in its order.
std::span<const CommandInfo* const> AutoRunOrder();

// The button whose name is `name`, or nullptr.
const CommandInfo* FindCommand(std::string_view name);
