// Wave windows over record files made by the test, in English, with the
// prompts scripted, the settings in a temporary home and a window host
// that runs the wave windows' half of the busy frame.
#pragma once

#include "app/ECGFramework.h"
#include "app/Language.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/QtApplication.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "ui/wave/RecordWindows.h"
#include "ui/wave/WaveFrame.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class WaveHost : public app::IWindowHost {
public:
    explicit WaveHost(app::CECGFramework& framework) : m_framework(framework) {}
    app::WindowHandle ForegroundWindow() override { return QApplication::activeWindow(); }
    void EnableWindows(bool enable) override { ui::EnableRecordWindows(m_framework, enable); }
    void FocusWindow(app::WindowHandle) override {}

private:
    app::CECGFramework& m_framework;
};

class WaveWindowTest : public testing::Test {
protected:
    WaveWindowTest()
        : m_lang("LANG", "en_US.UTF-8"), m_lcAll("LC_ALL", std::nullopt),
          m_config("XDG_CONFIG_HOME", home.File("config")) {
        Application();
        app::StartLanguages();
        framework.GetOptions().dirHdd = data.Path();
        framework.GetOptions().maxWaveDialog = 30;
        framework.SetPrompts(&prompts);
        framework.SetWindowHost(&host);
    }
    ~WaveWindowTest() override {
        ui::CloseAllRecordWindows(framework);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        framework.SetWindowHost(nullptr);
        app::ReleaseLanguages();
    }

    // A loaded record of a new file: a beat a second on a flat line.
    records::CECGContentsData& AddRecord(const std::string& name, std::uint16_t heartRate = 72,
                                         std::size_t sampleCount = 1250,
                                         std::uint16_t sampleRate = 125) {
        records::RecordFields fields;
        fields.recordedTime = 1704412800;
        fields.heartRate = heartRate;
        fields.sampleRate = sampleRate;
        std::vector<std::uint16_t> samples(sampleCount);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::uint16_t>(i % sampleRate < 10 ? 2600 : 2048);
        auto record = std::make_unique<records::CECGContentsData>();
        record->SetPath(data.Write(name, records::BuildRecordFile(fields, samples, true)));
        record->Load();
        owned.push_back(std::move(record));
        return *owned.back();
    }

    // Records named d24010100NN_00NN.ecg, NN from `first`.
    std::vector<records::CECGContentsData*> AddRecords(int count, int first = 1) {
        std::vector<records::CECGContentsData*> added;
        for (int i = first; i < first + count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "d24010100%02d_%04d.ecg", i % 60, i);
            added.push_back(&AddRecord(name));
        }
        return added;
    }

    void Select(const std::vector<records::CECGContentsData*>& chosen) {
        framework.ClearSelected();
        for (records::CECGContentsData* record : chosen)
            framework.AppendSelected(record);
    }

    // The window of a record opened alone, shown at a fixed size.
    ui::CWaveFrame& OpenAlone(records::CECGContentsData& record) {
        Select({&record});
        EXPECT_EQ(ui::OpenRecordWindow(framework, nullptr, record, [this] { ++refreshes; }), 1);
        ui::CWaveFrame* frame = Frame(record);
        EXPECT_NE(frame, nullptr);
        frame->SetPrompts(&prompts);
        frame->showNormal();
        frame->resize(900, 550);
        QApplication::processEvents();
        return *frame;
    }

    ui::CWaveFrame* Frame(const records::CECGContentsData& record) {
        return ui::WaveFrameOf(framework.FindRecordWindow(record));
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& shown : prompts.shown)
            texts.push_back(shown.text);
        return texts;
    }

    TempFolder data;
    TempFolder home;
    ScriptedPrompts prompts;
    app::CECGFramework framework;
    WaveHost host{framework};
    std::vector<std::unique_ptr<records::CECGContentsData>> owned;
    int refreshes = 0;

private:
    ScopedEnv m_lang;
    ScopedEnv m_lcAll;
    ScopedEnv m_config;
};

} // namespace testsupport
