#include "dsn/clsOdbc.h"

#include "host/platform/OdbcInstaller.h"
#include "host/runtime/AnsiText.h"
#include "host/runtime/RuntimeError.h"

#include <vector>

namespace korvane {

namespace {

constexpr const char* kCrLf = "\r\n";

std::vector<std::string> SplitAtBars(const std::string& text)
{
    std::vector<std::string> pieces;
    if (text.empty())
        return pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = text.find('|', start);
        pieces.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return pieces;
        start = bar + 1;
    }
}

} // namespace

std::string clsOdbc::GetDriverName(std::int32_t driverType)
{
    switch (driverType) {
    case 1: return "Microsoft Access Driver (*.mdb)";
    case 2: return "SQL Server";
    default: return {};
    }
}

std::string clsOdbc::ExecuteDSN(std::int32_t request, std::int32_t driverType, std::string attributes)
{
    std::string result;
    try {
        if (request < 1 || request > 6)
            return "无效的 DSN 类型";

        std::string driver;
        if (driverType != 0) {
            driver = GetDriverName(driverType);
            if (driver.empty())
                return std::string("未知驱动器") + kCrLf + "需要指定一个正确的驱动器";
        } else {
            if (m_ODBC_DRIVER_NAME.empty())
                return "需要首先初始化 ODBC_DRIVER_NAME";
            driver = m_ODBC_DRIVER_NAME;
        }

        if (attributes.empty()) {
            if (m_ODBC_ATTRIBUTES.empty())
                return "需要首先初始化 ODBC_ATTRIBUTES";
            attributes = m_ODBC_ATTRIBUTES;
        }

        // No parent window, so the driver shows no set-up dialog. The converted
        // list's own terminator doubles the caller's final NUL.
        std::string ansiDriver = host::ToAnsi(driver);
        std::string ansiAttributes = host::ToAnsi(attributes);
        int succeeded = platform::OdbcInstaller::Shared().SQLConfigDataSource(
            nullptr, static_cast<std::uint16_t>(request), ansiDriver.c_str(), ansiAttributes.c_str());
        if (!succeeded)
            result = std::string("错误: ") + kCrLf + "无效的属性值" + kCrLf;
    } catch (const host::RuntimeError& error) {
        result = "错误: " + std::to_string(error.Number()) + kCrLf + "源代码: " + error.Source() + kCrLf
            + "描述: " + error.Description();
    }
    return result;
}

std::string clsOdbc::ExecuteFileDSN(std::string fileName, std::int32_t driverType, std::string attributes)
{
    platform::OdbcInstaller& installer = platform::OdbcInstaller::Shared();
    std::string ansiFile = host::ToAnsi(fileName);
    std::string driver = host::ToAnsi(GetDriverName(driverType));
    // An unlisted driver type reaches the installer as no driver at all.
    installer.SQLWriteFileDSN(ansiFile.c_str(), "ODBC", "DRIVER", driver.empty() ? nullptr : driver.c_str());

    for (const std::string& piece : SplitAtBars(attributes)) {
        std::size_t equals = piece.find('=');
        if (equals == std::string::npos)
            host::Raise(host::ErrorNumber::InvalidProcedureCall);
        std::string key = host::ToAnsi(piece.substr(0, equals));
        std::string value = host::ToAnsi(piece.substr(equals + 1));
        installer.SQLWriteFileDSN(ansiFile.c_str(), "ODBC", key.c_str(), value.c_str());
    }
    return {};
}

} // namespace korvane
