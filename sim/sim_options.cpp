#include "sim_options.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {
const QCommandLineOption
    kLink("link", "Make a symlink PATH to the pseudo-terminal (removed on exit).", "PATH");
const QCommandLineOption kDevice("device",
                                 "Use the existing serial device PATH (115200 8E1) instead of a "
                                 "pseudo-terminal.",
                                 "PATH");
const QCommandLineOption kTcp("tcp",
                              "Serve the line on TCP, as a serial device server does: one client "
                              "at a time at ADDRESS:PORT (ADDRESS 127.0.0.1 unless given; PORT 0 "
                              "takes a free one); prints ADDRESS:PORT instead of the pty's path.",
                              "[ADDRESS:]PORT");
const QCommandLineOption kAddress("address",
                                  "Own Modbus slave address, 1..247 (default 7); also put into "
                                  "parameter byte 279, whose write moves the controller to the "
                                  "address written. Repeatable: one controller on the line for "
                                  "each address, each with its own memory and engine.",
                                  "N");
const QCommandLineOption kObjectType("object-type",
                                     "Object type reported in input register 302: 0 ДГУ, 1 ДРА "
                                     "(default 0); A=N for the controller at address A only. "
                                     "Repeatable.",
                                     "N");
const QCommandLineOption kEepromFile("eeprom-file",
                                     "Load the 4096-byte parameter memory from PATH if it exists; "
                                     "save it there after every parameter write. With several "
                                     "addresses, one file each: PATH with \"-A\" put before its "
                                     "extension (eeprom-12.bin).",
                                     "PATH");
const QCommandLineOption kDrop("drop", "Probability 0..1 of not answering a request.", "P", "0");
const QCommandLineOption kCorrupt("corrupt", "Probability 0..1 of answering with a bad CRC.", "P",
                                  "0");
const QCommandLineOption
    kSplit("split", "Probability 0..1 of sending an answer in two parts 150 ms apart.", "P", "0");
// The controller's processing time between the end of a request and its answer; --delay is
// its older name, kept for the scripts that use it.
const QCommandLineOption kTurnaround(QStringList{"turnaround", "delay"},
                                     "Time from the end of a request to its answer in "
                                     "milliseconds (the controller's turnaround).",
                                     "MS", "0");
const QCommandLineOption kSeed("seed", "Seed of the fault and noise generators (repeatable runs).",
                               "N");
const QCommandLineOption kVerbose("verbose", "Log every frame received and sent to stderr.");
const QCommandLineOption kClamp("clamp",
                                "Store parameter N as at most MAX (its stored integer) whatever "
                                "is written; repeatable.",
                                "N=MAX");

bool readInt(const QCommandLineParser& parser, const QCommandLineOption& option, int low, int high,
             int& into, QString& error) {
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < low || value > high) {
        error = QStringLiteral("--%1 wants a whole number from %2 to %3, not \"%4\"")
                    .arg(option.names().first())
                    .arg(low)
                    .arg(high)
                    .arg(parser.value(option));
        return false;
    }
    into = value;
    return true;
}

bool readAddresses(const QCommandLineParser& parser, std::vector<int>& into, QString& error) {
    if (!parser.isSet(kAddress))
        return true;
    into.clear();
    for (const QString& text : parser.values(kAddress)) {
        bool ok = false;
        const int address = text.toInt(&ok);
        if (!ok || address < 1 || address > 247) {
            error = QStringLiteral("--address wants a whole number from 1 to 247, not \"%1\"")
                        .arg(text);
            return false;
        }
        if (std::find(into.begin(), into.end(), address) != into.end()) {
            error = QStringLiteral("--address %1 given twice").arg(address);
            return false;
        }
        into.push_back(address);
    }
    return true;
}

// "N" for every controller, "A=N" for the one at address A.
bool readObjectTypes(const QCommandLineParser& parser, SimOptions& into, QString& error) {
    for (const QString& text : parser.values(kObjectType)) {
        const bool forOne = text.contains('=');
        bool addressOk = !forOne, typeOk = false;
        const int address = forOne ? text.section('=', 0, 0).toInt(&addressOk) : 0;
        const int type = text.section('=', forOne ? 1 : 0).toInt(&typeOk);
        const auto& on = into.addresses;
        if (!typeOk || !addressOk || type < 0 || type > 65535 ||
            (forOne && std::find(on.begin(), on.end(), address) == on.end())) {
            error = QStringLiteral("--object-type wants N or A=N with N from 0 to 65535 and A "
                                   "one of the addresses, not \"%1\"")
                        .arg(text);
            return false;
        }
        if (forOne)
            into.object_types[address] = type;
        else
            into.object_type = type;
    }
    return true;
}

// "[ADDRESS:]PORT": only the loopback is served unless another address is named.
bool readTcp(const QString& text, SimOptions& o, QString& error) {
    const qsizetype colon = text.lastIndexOf(':');
    QString host = colon < 0 ? QStringLiteral("127.0.0.1") : text.left(colon);
    if (host.startsWith('[') && host.endsWith(']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 0 || port > 65535 || host.isEmpty()) {
        error = QStringLiteral("--tcp wants [ADDRESS:]PORT with PORT from 0 to 65535, not \"%1\"")
                    .arg(text);
        return false;
    }
    o.tcp_host = host;
    o.tcp_port = port;
    return true;
}

bool readProbability(const QCommandLineParser& parser, const QCommandLineOption& option,
                     double& into, QString& error) {
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (!ok || !(value >= 0.0 && value <= 1.0)) {
        error = QStringLiteral("--%1 wants a probability from 0 to 1, not \"%2\"")
                    .arg(option.names().first(), parser.value(option));
        return false;
    }
    into = value;
    return true;
}
} // namespace

ParsedSimOptions ParseSimOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Simulates the ЗАРН engine controller as a Modbus RTU slave on a pseudo-terminal (whose "
        "path it prints on stdout) or on a serial device.\n\n"
        "On exit, and on SIGUSR1 (after which it runs on), it prints one line on stdout:\n"
        "  zarn-sim counters: received=N sent=N dropped=N corrupted=N split=N\n"
        "  received   requests for its addresses with a good CRC\n"
        "  sent       answers sent, the spoiled and split ones included\n"
        "  dropped    answers held back (--drop)\n"
        "  corrupted  answers sent with a bad CRC (--corrupt)\n"
        "  split      answers sent in two parts (--split)");
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOptions({kLink, kDevice, kTcp, kAddress, kObjectType, kEepromFile, kDrop, kCorrupt,
                       kSplit, kTurnaround, kSeed, kVerbose, kClamp});

    ParsedSimOptions parsed;
    parsed.help_text = parser.helpText();
    if (!parser.parse(arguments)) {
        parsed.error = parser.errorText();
        return parsed;
    }
    if (parser.isSet(help)) {
        parsed.help_requested = true;
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.error = "unexpected argument: " + parser.positionalArguments().first();
        return parsed;
    }

    SimOptions& o = parsed.options;
    o.link_path = parser.value(kLink);
    o.device_path = parser.value(kDevice);
    o.eeprom_file = parser.value(kEepromFile);
    o.verbose = parser.isSet(kVerbose);
    if (int(parser.isSet(kLink)) + int(parser.isSet(kDevice)) + int(parser.isSet(kTcp)) > 1) {
        parsed.error = "--link, --device and --tcp exclude each other";
        return parsed;
    }
    if (parser.isSet(kTcp) && !readTcp(parser.value(kTcp), o, parsed.error))
        return parsed;
    if ((parser.isSet(kLink) && o.link_path.isEmpty()) ||
        (parser.isSet(kDevice) && o.device_path.isEmpty()) ||
        (parser.isSet(kEepromFile) && o.eeprom_file.isEmpty())) {
        parsed.error = "a path option was given an empty path";
        return parsed;
    }
    QString& error = parsed.error;
    if (!readAddresses(parser, o.addresses, error) || !readObjectTypes(parser, o, error) ||
        !readInt(parser, kTurnaround, 0, 60000, o.turnaround_ms, error) ||
        !readProbability(parser, kDrop, o.drop_probability, error) ||
        !readProbability(parser, kCorrupt, o.corrupt_probability, error) ||
        !readProbability(parser, kSplit, o.split_probability, error))
        return parsed;
    for (const QString& clamp : parser.values(kClamp)) {
        bool numberOk = false, maxOk = false;
        const int number = clamp.section('=', 0, 0).toInt(&numberOk);
        const int max = clamp.section('=', 1).toInt(&maxOk);
        if (!numberOk || !maxOk || number < 0 || number > 505) {
            error =
                QStringLiteral("--clamp wants N=MAX with N from 0 to 505, not \"%1\"").arg(clamp);
            return parsed;
        }
        o.clamps.emplace_back(number, max);
    }
    if (parser.isSet(kSeed)) {
        bool ok = false;
        const auto seed = parser.value(kSeed).toUInt(&ok);
        if (!ok) {
            error = "--seed wants a whole number from 0 to 4294967295";
            return parsed;
        }
        o.seed = seed;
    }
    return parsed;
}

int SimOptions::objectTypeAt(int address) const {
    const auto found = object_types.find(address);
    return found == object_types.end() ? object_type : found->second;
}

QString SimOptions::eepromFileOf(int address) const {
    if (eeprom_file.isEmpty() || addresses.size() == 1)
        return eeprom_file;
    const QFileInfo file(eeprom_file);
    const QString suffix = file.suffix().isEmpty() ? QString() : "." + file.suffix();
    return file.dir().filePath(file.completeBaseName() + "-" + QString::number(address) + suffix);
}
