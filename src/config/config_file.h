#pragma once

#include "config/line_address.h"
#include "host/link_host.h"
#include "host/message_box.h"

#include <QString>
#include <cstdint>

// The tool's own settings in "тп.ini": the COM port to use (section "PC config", key "COM")
// and the slave-address entry chosen when it was saved (section "QLA config", key "MBSLAD",
// written only). Other sections, the port map among them, are left as they are.
class ConfigFile {
public:
    ConfigFile(QString path, LinkHost& host, MessageBoxService& boxes);

    // Sets com_port from the file, creating the file when there is none.
    void LoadConfig();
    // Writes com_port and the chosen slave-address entry (-1 for none).
    void SaveConfig();

    const QString& path() const { return file_path; }
    // The configured port as a line's address.
    LineAddress lineAddress() const { return {com_port}; }

    // 0 stands for no port.
    std::uint8_t com_port = 0;

private:
    QString file_path;
    LinkHost& host;
    MessageBoxService& boxes;
};
