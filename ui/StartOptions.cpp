#include "ui/StartOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <string_view>

namespace ui {

namespace {

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption demo{"demo", "Plug in a simulated device with a dozen recordings, to try "
                                    "the program without the device."};
    Parser() {
        parser.setApplicationDescription(
            "Keeps and reviews the recordings of the portable electrocardiograph.");
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(demo);
    }
};

bool IsInformationOption(std::string_view word) {
    return word == "-h" || word == "--help" || word == "--help-all" || word == "-v" ||
           word == "--version";
}

} // namespace

std::optional<int> AnswerInformationOptions(int argc, char* argv[]) {
    bool asked = false;
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i)
        asked = asked || IsInformationOption(argv[i]);
    if (!asked)
        return std::nullopt;
    // A plain core application reads the arguments as Qt would and needs
    // no display.
    QCoreApplication core(argc, argv);
    Parser p;
    if (!p.parser.parse(QCoreApplication::arguments()) || p.parser.isSet("help") ||
        p.parser.isSet("help-all")) {
        std::fputs(qPrintable(p.parser.helpText()), stdout);
        return 0;
    }
    std::printf("rhythmora (Rhythmora) %s\n", RHYTHMORA_VERSION);
    return 0;
}

std::optional<StartOptions> ParseStartOptions(const QStringList& arguments) {
    Parser p;
    if (!p.parser.parse(arguments)) {
        std::fprintf(stderr, "rhythmora: %s\n%s", qPrintable(p.parser.errorText()),
                     qPrintable(p.parser.helpText()));
        return std::nullopt;
    }
    StartOptions options;
    options.demo = p.parser.isSet(p.demo);
    return options;
}

} // namespace ui
