#include "tools/CommandTable.h"

#include "tools/Commands.h"

#include <array>

namespace tool {

namespace {

const std::array kCommands{
    ToolCommand{"info", "info [--json] [--samples] FILE...",
                "Show what each record file holds, as the program reads it.",
                "  --json       one JSON array with an object per file\n"
                "  --samples    add the samples (the values the papers draw, 0 to 2047)\n",
                RunInfo},
    ToolCommand{"list", "list [--json] [--folder DIR] [--filter BITS]",
                "List the recordings of the data folder as the main window does, newest "
                "first.",
                "  --json          one JSON array in list order\n"
                "  --folder DIR    list DIR instead of the data folder of the settings\n"
                "  --filter BITS   six digits 0 or 1 for the search switches: no irregularity,\n"
                "                  slow, fast, irregular beats, irregular waveform, cannot be\n"
                "                  analysed (000000 shows every recording)\n",
                RunList},
    ToolCommand{"memo",
                "memo FILE [--situation N] [--symptoms N] [--position N] [--posture N]\n"
                "            [--situation-text T] [--symptom-text T]",
                "Change the memo of a recording and save it, with the memo dialog's rules.",
                "  --situation N        0 (none) or one code: 1 on waking, 2 post-meal, 4 at "
                "rest,\n"
                "                       8 toilet, 16 smoking, 32 bathing, 64 exercise, 128 "
                "alcohol,\n"
                "                       256 medication, 512 other\n"
                "  --symptoms N         the sum of the codes that apply: 1 chest pain, 2 tight\n"
                "                       chest, 4 prickling, 8 breathless, 16 palpitations, 32\n"
                "                       dazed, 64 faint, 128 skipped beats, 256 other, 512 none\n"
                "  --position N         0 or one code: 1 V1, 2 V2, 4 V3, 8 V4, 16 V5, 32 V6,\n"
                "                       64 abdomen, 128 palm\n"
                "  --posture N          0 or one code: 1 sitting, 2 standing, 4 lying on the back\n"
                "  --situation-text T   the situation's free text (at most 30 characters)\n"
                "  --symptom-text T     the symptoms' free text (at most 30 characters)\n",
                RunMemo},
    ToolCommand{"settings", "settings [--json]",
                "Show the settings after start-up (creating the settings file as start-up "
                "does).",
                "  --json    one JSON object named after the settings members\n", RunSettings},
    ToolCommand{"ports", "ports [--json]", "List the device ports found, real and simulated.",
                "  --json    {\"complete\": true|false, \"ports\": [...]}\n", RunPorts},
    ToolCommand{"device-info", "device-info [--port P] [--json]",
                "Read the battery, filter and clock of the connected device.",
                "  --port P    the device's port (without it, the one device connected)\n"
                "  --json      one JSON object\n",
                RunDeviceInfo},
    ToolCommand{"import", "import [--port P] [--folder DIR] [--set-clock yes|no] [--json]",
                "Import the recordings of the device, or copy them from its SD card.",
                "  --port P            the device's port or the card's folder (without it, the\n"
                "                      one device connected)\n"
                "  --folder DIR        import into DIR instead of the data folder\n"
                "  --set-clock yes|no  the answer when the device clock is not set (without it,\n"
                "                      asked on a terminal and declined otherwise)\n"
                "  --json              {\"result\", \"message\", \"added\", ...}\n",
                RunImport},
    ToolCommand{"device-write", "device-write [--port P] [--filter on|off] [--set-clock]",
                "Write the filter setting, and the clock, to the device.",
                "  --port P          the device's port (without it, the one device connected)\n"
                "  --filter on|off   the new filter setting (without it, kept as read)\n"
                "  --set-clock       set the device clock to the computer's (an unset clock is\n"
                "                    always set)\n",
                RunDeviceWrite},
    ToolCommand{"report", "report FILE... -o OUT [--sensitivity 0|1|2] [--paper a4|letter]",
                "Draw the printed report: OUT.pdf one page per recording, .svg or .png the "
                "first.",
                "  -o OUT              the file to write (.pdf, .svg or .png)\n"
                "  --sensitivity N     0: 20 mm/mV, 1: 10 mm/mV (the default), 2: 5 mm/mV\n"
                "  --paper a4|letter   the paper size (the settings' PaperSize unless given)\n",
                RunReport},
    ToolCommand{"wave", "wave FILE -o OUT [--zoom 100|150|200] [--sensitivity 0|1|2]",
                "Draw the wave window's paper as .png or .svg.",
                "  -o OUT            the file to write (.png or .svg)\n"
                "  --zoom Z          100, 150 or 200 percent (100 unless given)\n"
                "  --sensitivity N   0: 20 mm/mV, 1: 10 mm/mV (the default), 2: 5 mm/mV\n",
                RunWave},
    ToolCommand{"thumbnail", "thumbnail FILE -o OUT",
                "Draw the record list's thumbnail as .png or .svg.",
                "  -o OUT   the file to write (.png or .svg)\n", RunThumbnail},
    ToolCommand{"export", "export FILE... -o OUT [--format edf|csv] [--force] [--json]",
                "Export recordings as EDF+ or CSV: OUT is a file for one recording, an "
                "existing folder for several.",
                "  -o OUT            the file to write, or the folder for one file per recording\n"
                "  --format F        edf or csv (without it, from the extension of OUT; edf into\n"
                "                    a folder)\n"
                "  --force           replace existing files (never without it)\n"
                "  --json            {\"result\", \"format\", \"written\": [paths]}\n",
                RunExport},
    ToolCommand{"simulate",
                "simulate [--recordings N] [--battery 1-3] [--filter on|off] [--clock "
                "set|unset]\n"
                "            [--faults LIST] [--state FILE | --card FOLDER] [--name NAME]\n"
                "            [--serial S] [--seed N]",
                "Run the device simulator on a pseudo-terminal, or as an SD card in a folder, "
                "until interrupted.",
                "  --recordings N    recordings in a fresh device, 0 to 100 (5 unless given)\n"
                "  --battery L       battery level 1 (empty) to 3 (full)\n"
                "  --filter on|off   the device's filter setting\n"
                "  --clock set|unset whether the device clock is set\n"
                "  --faults LIST     faults to inject, separated by commas:\n"
                "                    bcc|silence|refuse|short[@EXCHANGE], unplug@EXCHANGES,\n"
                "                    damaged@RECORDING\n"
                "  --state FILE      keep the device's memory in FILE (an existing FILE\n"
                "                    replaces the memory options)\n"
                "  --card FOLDER     present the recordings as an SD card in FOLDER\n"
                "  --name NAME       the name it is announced under (\"simulator\")\n"
                "  --serial S        the serial number in its instance id (\"SIM0001\")\n"
                "  --seed N          the seed of the recordings' variety\n",
                RunSimulate},
};

} // namespace

std::span<const ToolCommand> ToolCommands() {
    return kCommands;
}

const ToolCommand* FindToolCommand(std::string_view name) {
    for (const ToolCommand& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

std::string CommandUsage(const ToolCommand& command) {
    return std::string("usage: rhythmora-tool ") + command.synopsis + "\n\n" + command.summary +
           "\n\n" + command.options;
}

std::string OverviewUsage() {
    std::string text = "usage: rhythmora-tool COMMAND [options]\n"
                       "       rhythmora-tool COMMAND --help\n"
                       "       rhythmora-tool --version\n\n";
    for (const ToolCommand& command : kCommands)
        text += std::string("  ") + command.synopsis + "\n      " + command.summary + "\n";
    return text;
}

} // namespace tool
