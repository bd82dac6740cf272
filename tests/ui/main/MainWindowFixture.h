// A main window on a data folder made by the test, in English, with the
// prompts scripted and the settings kept in a temporary home.
#pragma once

#include "app/ECGFramework.h"
#include "app/Language.h"
#include "records/RecordBuilder.h"
#include "support/QtApplication.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "ui/MainFrame.h"
#include "ui/RecordListView.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace testsupport {

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest()
        : m_lang("LANG", "en_US.UTF-8"), m_lcAll("LC_ALL", std::nullopt),
          m_config("XDG_CONFIG_HOME", home.File("config")) {
        Application();
        app::StartLanguages();
        framework.GetOptions().dirHdd = data.Path();
    }
    ~MainWindowTest() override {
        frame.reset();
        app::ReleaseLanguages();
    }

    // A record file named `name` with a recording time and analysis flags.
    std::string AddRecord(const std::string& name, std::uint32_t recorded = 1704412800,
                          std::uint32_t flags = 0, std::uint16_t heartRate = 72) {
        records::RecordFields fields;
        fields.recordedTime = recorded;
        fields.flags = flags;
        fields.heartRate = heartRate;
        fields.kindByte = name.starts_with("p") ? 0 : 1;
        const std::vector<std::uint16_t> samples(1250, 2048);
        return data.Write(name, records::BuildRecordFile(fields, samples, true));
    }

    // The window, shown and filled.
    ui::CMainFrame& Open(QSize size = {900, 640}) {
        frame = std::make_unique<ui::CMainFrame>(framework);
        frame->SetPrompts(&prompts);
        frame->resize(size);
        frame->show();
        frame->RefreshList();
        QApplication::processEvents();
        return *frame;
    }

    ui::CSinora2View& List() { return frame->List(); }

    std::vector<std::string> ListedNames() {
        std::vector<std::string> names;
        for (const auto& record : List().Model().Records())
            names.push_back(record->GetFileName());
        return names;
    }

    void Select(std::initializer_list<int> rows) {
        List().clearSelection();
        for (int row : rows)
            List().selectionModel()->select(List().model()->index(row, 0),
                                            QItemSelectionModel::Select);
    }

    TempFolder data;
    TempFolder home;
    ScriptedPrompts prompts;
    app::CECGFramework framework;
    std::unique_ptr<ui::CMainFrame> frame;

private:
    ScopedEnv m_lang;
    ScopedEnv m_lcAll;
    ScopedEnv m_config;
};

} // namespace testsupport
