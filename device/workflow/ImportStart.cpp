#include "device/workflow/ImportStart.h"

#include "platform/ResourceText.h"

namespace device {

namespace {

constexpr unsigned kTextNoComHeading = 52024;
constexpr unsigned kTextNoCom = 51024;
constexpr unsigned kTextMultiComHeading = 52025;
constexpr unsigned kTextMultiCom = 51025;
constexpr unsigned kTextHddError = 51010;

} // namespace

bool IsSerialPortName(const std::string& port) {
    return port.starts_with("/dev/");
}

std::optional<std::string> ChooseDevicePort(const std::vector<std::string>& ports,
                                            platform::IUserPrompts& prompts) {
    if (ports.size() == 1)
        return ports.front();
    const bool none = ports.empty();
    prompts.Ask(platform::LoadText(none ? kTextNoComHeading : kTextMultiComHeading),
                platform::LoadText(none ? kTextNoCom : kTextMultiCom), platform::PromptForm::OneOk);
    return std::nullopt;
}

bool CheckImportFolder(const std::string& folder, platform::IUserPrompts& prompts) {
    if (IsExistingFolder(folder))
        return true;
    prompts.ShowMessage(platform::LoadText(kTextHddError), platform::MessageIcon::Exclamation);
    return false;
}

std::optional<ImportPlan> PrepareImport(const std::vector<std::string>& ports,
                                        const std::string& dirSd, const std::string& dirHdd,
                                        platform::IUserPrompts& prompts) {
    const std::optional<std::string> port = ChooseDevicePort(ports, prompts);
    if (!port || !CheckImportFolder(dirHdd, prompts))
        return std::nullopt;
    ImportPlan plan;
    plan.folder = dirHdd;
    if (IsSerialPortName(*port)) {
        plan.port = *port;
        return plan;
    }
    SdCopyPlan card;
    if (BuildSdFileList(RecorderFolder(*port, dirSd), dirHdd, prompts, card) == 0)
        return std::nullopt;
    plan.card = std::move(card);
    return plan;
}

} // namespace device
