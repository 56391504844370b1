#pragma once

// The main window: the database path, the three commands and the link.

#include "host/forms/Form.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace korvane {

class gxButtons_H;

class frmKorvane : public forms::Form {
public:
    static constexpr const char* kDsnName = "Pelwick2006";
    static constexpr const char* kHive = "HC";
    static constexpr const char* kDescription = "rovozuvizodezad数据源";
    static constexpr const char* kDriver = "Microsoft Access Driver (*.mdb)";
    static constexpr const char* kPathSuffix = "/db.mdb";
    static constexpr std::int32_t kLoopBound = 2000;
    static constexpr const char* kDoneMessage = "数据源修复完毕，请运行zoravudevarev!";
    static constexpr const char* kDoneTitle = "完成";
    static constexpr const char* kPublisherAddress = "https://www.korvane.example/";

    // Binds the handlers to the controls the layout made.
    void BindEvents();

    void cmdgxButtons_Click(std::int16_t Index);
    void Label1_Click();
    // Neither needs the window, so the repair without one uses them too.
    static std::string Create_ODBC(const std::string& dsnName, const std::string& mdbPath, const std::string& description);
    static std::string Delete_ODBC(const std::string& dsnName);

protected:
    void Form_Load() override;

private:
    void OpenAdministrator();
    void Repair(gxButtons_H& button);
    void LaunchPublisherAddress();
    void ReportRuntimeError(int number, const std::string& description);
};

// The layout and its pictures: installed in the share folder beside the running
// program's bin folder, or, for a program run from its build folder, `sources`.
std::filesystem::path ResourceFolder(const std::filesystem::path& sources);

// Registers the program's control kinds, loads the main window from its layout in
// `resourceFolder` and shows it; false with the reason when the layout is unusable.
bool StartKorvane(frmKorvane& form, const std::string& resourceFolder, std::string& error);

} // namespace korvane
