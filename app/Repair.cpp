#include "app/Repair.h"

#include "app/frmKorvane.h"
#include "dsn/mdlDns.h"
#include "host/forms/HostServices.h"

namespace korvane {

std::string RepairReport::FailureMessage() const
{
    if (!createText.empty())
        return createText;
    std::string driverMessage;
    // MDB Tools refuses a file it cannot open without queuing a diagnostic.
    const std::string& message = check.message.empty() ? std::string("驱动程序拒绝连接，没有说明原因。") : check.message;
    for (char c : message)
        driverMessage += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return std::string("无法打开数据源 ") + frmKorvane::kDsnName + " 的数据库文件：\r\n" + database + "\r\n\r\n"
        + driverMessage;
}

std::string DefaultDatabasePath() { return forms::App::PathText() + frmKorvane::kPathSuffix; }

RepairReport RepairDataSource(const std::string& database)
{
    RepairReport report;
    report.database = database;
    report.existed = mdlDns::DSNExists(frmKorvane::kDsnName, frmKorvane::kHive);
    if (report.existed)
        report.removeText = frmKorvane::Delete_ODBC(frmKorvane::kDsnName);
    report.createText = frmKorvane::Create_ODBC(frmKorvane::kDsnName, database, frmKorvane::kDescription);
    if (report.createText.empty())
        report.check = platform::OpenDataSource(frmKorvane::kDsnName);
    return report;
}

} // namespace korvane
