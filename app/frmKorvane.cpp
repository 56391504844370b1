#include "app/frmKorvane.h"

#include "app/Repair.h"

#include "controls/button/gxButtons_H.h"
#include "controls/progress_bar/XP_ProgressBar.h"
#include "controls/text_box/TarvosXPText.h"
#include "dsn/clsOdbc.h"
#include "host/forms/HostServices.h"
#include "host/forms/controls/PlainControls.h"
#include "host/forms/controls/Label.h"
#include "host/platform/OdbcInstaller.h"
#include "host/runtime/RuntimeError.h"

namespace korvane {

using forms::MsgBox;
using forms::Screen::SetMousePointer;

void frmKorvane::Form_Load()
{
    if (auto* path = Get<TarvosXPText>("txtMdbpath"))
        path->LetText(DefaultDatabasePath());
}

void frmKorvane::BindEvents()
{
    for (forms::Control* control : Array("cmdgxButtons")) {
        if (auto* button = dynamic_cast<gxButtons_H*>(control)) {
            auto index = static_cast<std::int16_t>(*button->Index());
            button->Click = [this, index] { cmdgxButtons_Click(index); };
        }
    }
    if (auto* label = Get<forms::Label>("Label1"))
        label->Click = [this] { Label1_Click(); };
}

void frmKorvane::cmdgxButtons_Click(std::int16_t Index)
{
    // A run-time error here is shown and the program goes on, rather than ending it.
    try {
        switch (Index) {
        case 0: OpenAdministrator(); break;
        case 1:
            if (auto* button = Get<gxButtons_H>("cmdgxButtons", Index))
                Repair(*button);
            break;
        case 2: Unload(); break;
        default: break;
        }
    } catch (const host::RuntimeError& failure) {
        ReportRuntimeError(failure.Number(), failure.Description());
    }
    LaunchPublisherAddress();
}

void frmKorvane::OpenAdministrator()
{
    platform::OdbcInstaller& installer = platform::OdbcInstaller::Shared();
    if (installer.SQLManageDataSources(hWnd()))
        return;
    // unixODBC opens an administrator only with its optional GUI plug-in.
    std::string userFile = installer.UserIniPath().value_or("~/.odbc.ini");
    MsgBox(std::string("没有安装 ODBC 数据源管理器。") + "\r\n" + "当前用户的数据源保存在文件 " + userFile + " 中。",
        forms::vbInformation, "");
}

void frmKorvane::Repair(gxButtons_H& button)
{
    SetMousePointer(forms::vbHourglass);
    button.LetEnabled(false);
    std::string path;
    if (auto* box = Get<TarvosXPText>("txtMdbpath"))
        path = box->Text();
    RepairReport report = RepairDataSource(path);

    auto* bar = Get<XP_ProgressBar>("XP_ProgressBar1");
    if (bar) {
        bar->SetVisible(true);
        bar->LetMax(kLoopBound);
        for (std::int32_t value = 0; value <= kLoopBound; ++value)
            bar->LetValue(value);
    }
    SetMousePointer(forms::vbDefault);
    // A refused creation, or a data source the driver cannot open, is reported
    // instead of claiming success; the data source stays as the user asked.
    if (report.Succeeded())
        MsgBox(kDoneMessage, forms::vbInformation, kDoneTitle);
    else
        MsgBox(report.FailureMessage(), forms::vbCritical, "错误");
    if (bar)
        bar->SetVisible(false);
    button.LetEnabled(true);
}

std::string frmKorvane::Create_ODBC(const std::string& dsnName, const std::string& mdbPath, const std::string& description)
{
    const std::string nul(1, '\0');
    clsOdbc odbc;
    odbc.ODBC_DRIVER_NAME(kDriver);
    odbc.ODBC_ATTRIBUTES("DSN=" + dsnName + nul + "DBQ=" + mdbPath + nul + "DESCRIPTION=" + description + nul);
    return odbc.ExecuteDSN(1, 0, "");
}

std::string frmKorvane::Delete_ODBC(const std::string& dsnName)
{
    clsOdbc odbc;
    return odbc.ExecuteDSN(3, 1, "DSN=" + dsnName + std::string(1, '\0'));
}

void frmKorvane::Label1_Click() { LaunchPublisherAddress(); }

void frmKorvane::LaunchPublisherAddress()
{
    forms::Shell(std::string("explorer ") + kPublisherAddress, forms::vbMinimizedNoFocus);
}

void frmKorvane::ReportRuntimeError(int number, const std::string& description)
{
    SetMousePointer(forms::vbDefault);
    if (auto* button = Get<gxButtons_H>("cmdgxButtons", 1); button && IsLoaded())
        button->LetEnabled(true);
    MsgBox("运行时错误 '" + std::to_string(number) + "':\r\n\r\n" + description, forms::vbCritical, "");
}

std::filesystem::path ResourceFolder(const std::filesystem::path& sources)
{
    std::filesystem::path installed = forms::App::Path() / ".." / "share" / "korvane";
    if (std::filesystem::exists(installed / "frmKorvane.layout"))
        return installed;
    return sources;
}

bool StartKorvane(frmKorvane& form, const std::string& resourceFolder, std::string& error)
{
    forms::RegisterPlainControls();
    RegisterGxButtons_H();
    RegisterXP_ProgressBar();
    RegisterTarvosXPText();
    if (!form.LoadFile(std::filesystem::path(resourceFolder) / "frmKorvane.layout", error))
        return false;
    form.BindEvents();
    form.Show();
    return true;
}

} // namespace korvane
