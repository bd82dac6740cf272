// `settings`: the settings after start-up, as text or JSON.
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/Json.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <iostream>
#include <vector>

namespace tool {

namespace {

// Receives every settings member by name, so the text and the JSON form
// list the same members in the same order.
class SettingsVisitor {
public:
    virtual ~SettingsVisitor() = default;
    virtual void Int(const char* name, long long value) = 0;
    virtual void String(const char* name, const std::string& value) = 0;
    virtual void Ints(const char* name, const std::vector<long long>& values) = 0;
    virtual void Strings(const char* name, const std::vector<std::string>& values) = 0;
};

template <typename Container> std::vector<long long> AsInts(const Container& c) {
    return std::vector<long long>(c.begin(), c.end());
}

void VisitSettings(const app::CECGOptions& o, SettingsVisitor& v) {
    v.Int("samplingRate", o.samplingRate);
    v.Int("reserved", o.reserved);
    v.Int("printScale", o.printScale);
    v.Int("headerOn", o.headerOn);
    v.Int("footerOn", o.footerOn);
    v.Int("paperSize", o.paperSize);
    v.Ints("margins", AsInts(o.margins));
    v.Ints("colours", AsInts(o.colours));
    v.Int("displayType", o.displayType);
    v.String("printFolder", o.printFolder);
    v.Ints("listHeaderSize", AsInts(o.listHeaderSize));
    v.Int("leftPaneSize", o.leftPaneSize);
    v.Int("rightPaneSize", o.rightPaneSize);
    v.Int("upPaneSize", o.upPaneSize);
    v.Int("downPaneSize", o.downPaneSize);
    v.Int("developerMode", o.developerMode);
    v.Int("maxWaveDialog", o.maxWaveDialog);
    v.Int("maxPreview", o.maxPreview);
    v.Int("listWidth", o.listWidth);
    v.Int("listHeight", o.listHeight);
    v.Int("loaded", o.loaded);
    v.String("defDirHdd", o.defDirHdd);
    v.String("defDirSd", o.defDirSd);
    v.String("defDeviceSd", o.defDeviceSd);
    v.String("defBackupDir", o.defBackupDir);
    v.String("defListWidth", o.defListWidth);
    v.String("defListHeight", o.defListHeight);
    v.Int("searchDlgX", o.searchDlgX);
    v.Int("searchDlgY", o.searchDlgY);
    v.Ints("searchColumns", AsInts(o.searchColumns));
    v.String("modulePath", o.modulePath);
    v.String("iniPath", o.iniPath);
    v.Int("type1InstBitPos", o.type1InstBitPos);
    v.Int("comPort", o.comPort);
    v.Int("comBaud", o.comBaud);
    v.String("saveDir", o.saveDir);
    v.String("treeDir", o.treeDir);
    v.String("dirHdd", o.dirHdd);
    v.String("dirSd", o.dirSd);
    v.String("deviceSd", o.deviceSd);
    v.String("backupDir", o.backupDir);
    v.Int("electricRange", o.electricRange);
    v.Int("maxPort", o.maxPort);
    v.Int("convertFileName", o.convertFileName);
    v.Strings("devIdList", o.devIdList);
    v.Int("recvTimeOutMs", o.recvTimeOutMs);
    v.Int("baudRate", o.baudRate);
    v.String("logDir", o.logDir);
    v.Int("recvTimeOutElse", o.recvTimeOutElse);
    v.Int("maxImageListSize", o.maxImageListSize);
    v.Int("printerPaper", o.printerPaper);
}

class JsonSettings : public SettingsVisitor {
public:
    explicit JsonSettings(JsonWriter& json) : m_json(json) {}
    void Int(const char* name, long long value) override { m_json.Field(name, value); }
    void String(const char* name, const std::string& value) override {
        m_json.Field(name, std::string_view(value));
    }
    void Ints(const char* name, const std::vector<long long>& values) override {
        m_json.Key(name);
        m_json.BeginArray();
        for (long long value : values)
            m_json.Int(value);
        m_json.EndArray();
    }
    void Strings(const char* name, const std::vector<std::string>& values) override {
        m_json.Key(name);
        m_json.BeginArray();
        for (const std::string& value : values)
            m_json.String(value);
        m_json.EndArray();
    }

private:
    JsonWriter& m_json;
};

class TextSettings : public SettingsVisitor {
public:
    void Int(const char* name, long long value) override {
        std::cout << name << " = " << value << '\n';
    }
    void String(const char* name, const std::string& value) override {
        std::cout << name << " = " << TerminalField(value) << '\n';
    }
    void Ints(const char* name, const std::vector<long long>& values) override {
        std::cout << name << " =";
        for (long long value : values)
            std::cout << ' ' << value;
        std::cout << '\n';
    }
    void Strings(const char* name, const std::vector<std::string>& values) override {
        std::cout << name << " =";
        for (const std::string& value : values)
            std::cout << ' ' << TerminalField(value);
        std::cout << '\n';
    }
};

} // namespace

int RunSettings(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json"}, {});
    if (!arguments.Positionals().empty())
        throw Usage(kTextNoFiles, {"settings"});

    app::CECGOptions options;
    LoadToolSettings(options);
    if (arguments.Has("--json")) {
        JsonWriter json(std::cout);
        json.BeginObject();
        JsonSettings visitor(json);
        VisitSettings(options, visitor);
        json.EndObject();
    } else {
        TextSettings visitor;
        VisitSettings(options, visitor);
    }
    return kExitOk;
}

} // namespace tool
