#include "host/forms/controls/Label.h"
#include "host/forms/controls/PictureBox.h"
#include "tests/support/FormFixture.h"

#include <fstream>
#include <tuple>

using namespace korvane;
using namespace korvane::forms;

namespace {

class LayoutSettings : public korvane::testing::FormFixture {};

const char* const kLayout = R"(Form frmSettings
    Caption = "Settings"
    ClientWidth = 4800
    ClientHeight = 3600
    Begin Label lblPlain
        caption = "Plain"
        Width = 1500
        Height = 300
    End
    Begin PictureBox picFrame
        BorderStyle = 0
        Picture = Picture("missing.bmp")
        Left = 150
        Top = 600
        Width = 3000
        Height = 1500
        TabIndex = 1
        Begin Label lblDressed(3)
            Caption = "Dressed"
            Alignment = 2
            BackStyle = 0
            ForeColor = &H000000FF&
            Font = Font("Arial", 12, 700, 0, False, False, False)
            Width = 1500
            Height = 300
        End
    End
End
)";

} // namespace

TEST_F(LayoutSettings, DefaultsAreNotStoredAndKeysIgnoreCase)
{
    Load(kLayout);
    auto& plain = Get<Label>("LBLPLAIN");
    EXPECT_EQ(plain.Caption(), "Plain") << "the layout's lower-case key names the same setting";
    EXPECT_EQ((std::tuple { plain.BackStyle(), plain.BackColor(), plain.ForeColor(), plain.AutoSize(), plain.UseMnemonic() }),
        (std::tuple { int(vbOpaque), 0x8000000Fu, 0x80000012u, false, true }));

    PropertyBag bag = plain.SaveSettings();
    ASSERT_EQ(bag.Entries().size(), 3u) << WriteLayout(TheForm().SaveLayout());
    EXPECT_TRUE(bag.Contains("CAPTION") && bag.Contains("width"));
    EXPECT_FALSE(bag.Contains("Font")) << "the form's font is not stored again";

    // Setting a value back to its default removes it.
    plain.SetBackStyle(vbTransparent);
    EXPECT_EQ(plain.SaveSettings().ReadInt("BackStyle", 1), 0);
    plain.SetBackStyle(vbOpaque);
    EXPECT_FALSE(plain.SaveSettings().Contains("BackStyle"));

    auto& picture = Get<PictureBox>("picFrame");
    EXPECT_EQ(picture.BorderStyle(), vbBSNone);
    EXPECT_FALSE(picture.Picture()) << "a missing file leaves the box empty";
    ASSERT_EQ(TheForm().PictureProblems().size(), 1u);
    EXPECT_EQ(TheForm().PictureProblems()[0].rfind("the picture missing.bmp of picFrame.Picture is left out: ", 0), 0u);
    EXPECT_EQ(picture.SaveSettings().ReadPicture("Picture"), (PictureRef { "missing.bmp" }));
}

TEST_F(LayoutSettings, ALayoutSurvivesWritingParsingAndSavingTheForm)
{
    LayoutParseResult parsed = ParseLayout(kLayout);
    ASSERT_TRUE(parsed.form) << parsed.error;
    std::string written = WriteLayout(*parsed.form);
    LayoutParseResult reparsed = ParseLayout(written);
    ASSERT_TRUE(reparsed.form) << reparsed.error;
    EXPECT_EQ(WriteLayout(*reparsed.form), written);

    Load(kLayout);
    auto& dressed = Get<Label>("lblDressed", 3);
    EXPECT_EQ(std::tuple(dressed.Font()->Name(), dressed.Font()->Bold(), dressed.Container(), GetParent(dressed.hWnd())),
              std::tuple("Arial", true, &Get("picFrame"), Get("picFrame").hWnd()));

    // What the form saves reads back into the same controls and settings.
    LayoutNode saved = TheForm().SaveLayout();
    ASSERT_EQ(saved.children.size(), 2u);
    ASSERT_EQ(saved.children[1].children.size(), 1u);
    const LayoutNode& savedDressed = saved.children[1].children[0];
    EXPECT_EQ(savedDressed.index, 3);
    EXPECT_EQ(savedDressed.settings.ReadFont("Font"), (FontSpec { "Arial", 12, 700, 0, false, false, false }));
    EXPECT_EQ(std::pair(savedDressed.settings.ReadInt("Alignment", 0), savedDressed.settings.ReadColor("ForeColor", 0)), std::pair(2, 0x000000FFu));
    EXPECT_FALSE(savedDressed.settings.Contains("Left"));
    LayoutParseResult again = ParseLayout(WriteLayout(saved));
    ASSERT_TRUE(again.form) << again.error;
    EXPECT_EQ(again.form->children[1].children[0].settings, savedDressed.settings);
    EXPECT_EQ(again.form->children[0].settings, saved.children[0].settings);

    dressed.SetCaption("Changed");
    EXPECT_EQ(TheForm().SaveLayout().children[1].children[0].settings.ReadString("Caption", ""), "Changed");
}

TEST_F(LayoutSettings, ABadLayoutNamesTheFileTheLineAndWhatWasExpected)
{
    const std::pair<const char*, const char*> cases[] = {
        { "", "line 1: expected 'Form <name>'" },
        { "Form f\n' note\n  Begin Label\n", "line 3: expected 'Begin <kind> <name>[(index)]'" },
        { "Form f\n  Begin Label lbl(x)\n", "line 2: expected an array index from 0 to 32767 in 'lbl(x)'" },
        { "Form f\n  Left = 1\n  Top = 2\n  Width = Picture(\n",
          "line 4: expected a value for Width (a number, a colour, True or False, a quoted text, Picture(\"file\") or "
          "Font(...)), not 'Picture('" },
        { "Form f\n  Begin Label lbl\n  End\n", "line 4: expected End" },
        { "Form f\nEnd\nEnd\n", "line 3: expected nothing after the form's End" },
    };
    const std::filesystem::path file = ResourceFolder() / "bad.layout";
    for (const auto& [text, error] : cases) {
        std::ofstream(file) << text;
        LayoutParseResult parsed = LoadLayoutFile(file);
        EXPECT_FALSE(parsed.form);
        EXPECT_EQ(parsed.error, file.string() + ", " + error);
    }
}
