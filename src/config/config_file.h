#pragma once

#include "config/line_address.h"
#include "host/link_host.h"
#include "host/message_box.h"

#include <QString>
#include <cstdint>

// The tool's own settings in "тп.ini": the COM port to use (section "PC config", key "COM"),
// the slave-address entry chosen when it was saved (section "QLA config", key "MBSLAD", written
// only) and whether the fast exchange is on ("PC config", "FAST", 1 or 0; written only when the
// user switches it, so a file that never had it stays as it was). Other sections, the port map
// among them, are left as they are.
class ConfigFile {
public:
    ConfigFile(QString path, LinkHost& host, MessageBoxService& boxes);

    // Sets com_port from the file, creating the file when there is none.
    void LoadConfig();
    // Writes com_port and the chosen slave-address entry (-1 for none).
    void SaveConfig();
    // Writes fast_exchange.
    void saveFastExchange();

    const QString& path() const { return file_path; }
    // The configured port as a line's address.
    LineAddress lineAddress() const { return {com_port}; }

    // 0 stands for no port.
    std::uint8_t com_port = 0;
    bool fast_exchange = false;

private:
    // Writes one value, asking the user to retry while it fails; false when they give up.
    bool writeValue(const QString& section, const QString& key, const QString& value);

    QString file_path;
    LinkHost& host;
    MessageBoxService& boxes;
};
