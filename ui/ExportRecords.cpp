#include "ui/ExportRecords.h"

#include "app/MainCommands.h"
#include "export/ExportJob.h"
#include "platform/Files.h"
#include "platform/KnownFolders.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"

#include <QFileDialog>
#include <QProgressDialog>

#include <cstdint>

namespace ui {

namespace {

constexpr unsigned kTextWritten = 62763;
constexpr unsigned kTextHeading = 62764;
constexpr unsigned kTextReplace = 62765;
constexpr unsigned kTextProgress = 62766;
constexpr unsigned kTextChooseFolder = 62767;
constexpr unsigned kTextMore = 62770;
// A message lists this many file names; the rest are counted.
constexpr std::size_t kListedNames = 10;

using platform::FormatText;
using platform::LoadText;

std::string WrittenText(const std::vector<std::string>& written, const std::string& folder) {
    std::string text = FormatText(LoadText(kTextWritten),
                                  {std::string_view(folder), std::int64_t(written.size())});
    for (std::size_t i = 0; i < written.size() && i < kListedNames; ++i)
        text += "\n" + platform::BaseName(written[i]);
    if (written.size() > kListedNames)
        text +=
            "\n" + FormatText(LoadText(kTextMore), {std::int64_t(written.size() - kListedNames)});
    return text;
}

} // namespace

const exports::IExportFormat& ExportFormatFor(unsigned command) {
    return *exports::FindExportFormat(command == app::kCmdExportCsv ? "csv" : "edf");
}

QString ChooseExportFolder(QWidget* owner, const QString& start) {
    return QFileDialog::getExistingDirectory(owner,
                                             QString::fromStdString(LoadText(kTextChooseFolder)),
                                             start, QFileDialog::ShowDirsOnly);
}

void ExportRecords(QWidget* owner, std::span<const records::CECGContentsData* const> records,
                   const exports::IExportFormat& format, platform::IUserPrompts& prompts,
                   const ExportFolderChooser& choose) {
    if (records.empty())
        return;
    const std::string folder =
        choose(owner, QString::fromStdString(platform::DocumentsFolder())).toStdString();
    if (folder.empty())
        return;
    const std::vector<exports::ExportItem> items = exports::ItemsInFolder(records, folder, format);
    const std::size_t existing = exports::ExistingTargets(items).size();
    if (existing > 0 && prompts.Ask(LoadText(kTextHeading),
                                    FormatText(LoadText(kTextReplace),
                                               {std::string_view(folder), std::int64_t(existing)}),
                                    platform::PromptForm::YesNo) != platform::kIdOk)
        return;

    exports::ExportProgress progress;
    std::unique_ptr<QProgressDialog> dialog;
    if (items.size() > 1) {
        dialog = std::make_unique<QProgressDialog>(QString::fromStdString(LoadText(kTextProgress)),
                                                   QString(), 0, int(items.size()), owner);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setMinimumDuration(0);
        dialog->setCancelButtonText(QProgressDialog::tr("Cancel"));
        progress = [&dialog](std::size_t done, std::size_t) {
            dialog->setValue(int(done));
            return !dialog->wasCanceled();
        };
    }
    const exports::ExportOutcome outcome =
        exports::RunExport(items, format, existing > 0, progress);
    dialog.reset();

    if (outcome.problem.empty()) {
        if (!outcome.written.empty())
            prompts.Ask(LoadText(kTextHeading), WrittenText(outcome.written, folder),
                        platform::PromptForm::OneOk);
        return;
    }
    std::string text = outcome.problem;
    if (!outcome.written.empty())
        text = WrittenText(outcome.written, folder) + "\n\n" + text;
    prompts.ShowMessage(text, platform::MessageIcon::Exclamation);
}

} // namespace ui
