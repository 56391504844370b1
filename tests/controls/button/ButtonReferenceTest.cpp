// The button against the reference renderings: each case of cases.txt is loaded
// from its stored settings on a form of the button face colour, put in its state
// and compared with the reference picture pixel for pixel.

#include "tests/controls/button/ButtonTestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace korvane;

namespace {

const std::filesystem::path kReferenceDir = KORVANE_BUTTON_REFERENCE_DIR;

using Case = std::pair<std::string, std::string>; // a name and its line of cases.txt

// "name W H key=value ... | state=S" a line; a missing list gives one case that skips.
std::vector<Case> Cases()
{
    std::vector<Case> cases;
    std::ifstream list(kReferenceDir / "cases.txt");
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#')
            cases.emplace_back(line.substr(0, line.find(' ')), line);
    return cases.empty() ? std::vector<Case> { { "reference_data_missing", "" } } : cases;
}

class ButtonReference : public korvane::testing::ButtonFormTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ButtonReference, MatchesTheReferencePicture)
{
    const auto& [name, line] = GetParam();
    const std::filesystem::path picture = kReferenceDir / (name + ".png");
    if (!std::filesystem::exists(picture))
        GTEST_SKIP() << "reference data not found in " << kReferenceDir;
    std::istringstream words(line);
    std::string state;
    int width = 0, height = 0;
    korvane::testing::Settings settings;
    words >> state >> width >> height;
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        const std::string key = word.substr(0, equals), value = word.substr(equals + 1);
        if (key == "state")
            state = value;
        else if (key != "Image" && key != "|")
            settings.push_back(key + " = " + value);
        else if (key == "Image" && value != "none" && std::filesystem::copy_file(kReferenceDir / value, ResourceFolder() / value))
            settings.push_back("Image = Picture(\"" + value + "\")");
    }

    gxButtons_H& button = Load(settings, width, height, { "BackColor = &H00D8E9EC&" });
    // The references show no default look, which a focused button takes.
    SetFocus(FormWindow());
    if (state == "hover" || state == "pressed") {
        Move("cmdTest");
        button.ShowHover(true);
        if (state == "pressed")
            Press("cmdTest");
    }
    EXPECT_TRUE(korvane::testing::MatchesPicture(Capture("cmdTest"), picture, "button-reference/" + name));
}

INSTANTIATE_TEST_SUITE_P(Cases, ButtonReference, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& reference) { return reference.param.first; });

} // namespace
