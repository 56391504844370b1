#pragma once

namespace korvane::forms {

// Registers the host's plain control kinds ("Label", "PictureBox", "TextBox")
// with ControlRegistry; calling it again changes nothing.
void RegisterPlainControls();

} // namespace korvane::forms
