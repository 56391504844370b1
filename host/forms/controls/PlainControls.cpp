#include "host/forms/controls/PlainControls.h"

#include "host/forms/controls/Label.h"
#include "host/forms/controls/PictureBox.h"
#include "host/forms/controls/TextBox.h"

namespace korvane::forms {

void RegisterPlainControls()
{
    ControlRegistry::Register("Label", [] { return std::make_unique<Label>(); });
    ControlRegistry::Register("PictureBox", [] { return std::make_unique<PictureBox>(); });
    ControlRegistry::Register("TextBox", [] { return std::make_unique<TextBox>(); });
}

} // namespace korvane::forms
