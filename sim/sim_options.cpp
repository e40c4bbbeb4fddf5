#include "sim_options.h"

#include <QCommandLineParser>

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
                                  "parameter byte 279, whose write moves the simulator to the "
                                  "address written.",
                                  "N", "7");
const QCommandLineOption kObjectType("object-type",
                                     "Object type reported in input register 302: 0 ДГУ, 1 ДРА "
                                     "(default 0).",
                                     "N", "0");
const QCommandLineOption kEepromFile("eeprom-file",
                                     "Load the 4096-byte parameter memory from PATH if it exists; "
                                     "save it there after every parameter write.",
                                     "PATH");
const QCommandLineOption kDrop("drop", "Probability 0..1 of not answering a request.", "P", "0");
const QCommandLineOption kCorrupt("corrupt", "Probability 0..1 of answering with a bad CRC.", "P",
                                  "0");
const QCommandLineOption
    kSplit("split", "Probability 0..1 of sending an answer in two parts 150 ms apart.", "P", "0");
const QCommandLineOption kDelay("delay", "Extra delay of every answer in milliseconds.", "MS", "0");
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
        "  received   requests for its address with a good CRC\n"
        "  sent       answers sent, the spoiled and split ones included\n"
        "  dropped    answers held back (--drop)\n"
        "  corrupted  answers sent with a bad CRC (--corrupt)\n"
        "  split      answers sent in two parts (--split)");
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOptions({kLink, kDevice, kTcp, kAddress, kObjectType, kEepromFile, kDrop, kCorrupt,
                       kSplit, kDelay, kSeed, kVerbose, kClamp});

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
    if (!readInt(parser, kAddress, 1, 247, o.address, error) ||
        !readInt(parser, kObjectType, 0, 65535, o.object_type, error) ||
        !readInt(parser, kDelay, 0, 60000, o.extra_delay_ms, error) ||
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
