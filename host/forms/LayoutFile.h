#pragma once

// A window layout as a human-readable text file:
//
//   Form frmKorvane
//       Caption = "ODBC..."
//       ClientWidth = 6450
//       Icon = Picture("frmKorvane.ico")
//       Begin TarvosXPText txtMdbpath
//           Left = 120
//           BackColor = &H00FFFFFF&
//           Font = Font("宋体", 9, 400, 134, False, False, False)
//       End
//       Begin gxButtons_H cmdgxButtons(1)
//           ...
//       End
//   End
//
// Each Begin block is a control: its kind, its name, an array index in
// parentheses, and its settings (position, size and tab order among them), then
// the controls it contains. Values are integers, decimals, &H…& or 0x… colours,
// True/False, quoted strings (with \" \\ \n \r \t \0 escapes), Picture("file")
// and Font(name, size, weight, charset, italic, underline, strikethrough).
// Lines starting with ' are comments.

#include "host/forms/PropertyBag.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korvane::forms {

struct LayoutNode {
    std::string kind;
    std::string name;
    std::optional<int> index; // array element
    PropertyBag settings;
    std::vector<LayoutNode> children;
};

struct LayoutParseResult {
    std::optional<LayoutNode> form;
    std::string error; // "line N: expected …"; from a file, its path first
};

LayoutParseResult ParseLayout(std::string_view text);
LayoutParseResult LoadLayoutFile(const std::filesystem::path& path);
std::string WriteLayout(const LayoutNode& form);

// One value in the file's syntax, as tools and tests write them.
std::optional<PropertyValue> ParseLayoutValue(std::string_view text);
std::string FormatLayoutValue(const PropertyValue& value);

} // namespace korvane::forms
