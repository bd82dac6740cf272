// The user memo dialog: what it opens with, the exclusions of the symptom
// boxes, the clear buttons, the free-text limits, what OK stores in the file
// and Cancel keeps, the refusals that keep it open, the header and the layout
// in each language.
#include "ui/dialogs/UserMemo.h"

#include "DialogTestSupport.h"
#include "app/MemoEdit.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"
#include "ui/dialogs/CommonButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using dialogtest::Control;
using dialogtest::PressKey;
using dialogtest::RunModal;
using platform::kIdCancel;
using platform::kIdOk;
using testsupport::ReadFile;
using ui::CUserMemo;

// 2024-01-05 15:04 in UTC+9, a Friday.
constexpr std::uint32_t kRecorded = 1704434640;
const QColor kRed(255, 0, 0);

std::string Repeat(const std::string& unit, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += unit;
    }
    return text;
}

// The memo a fixture record is saved with before the dialog sees it.
struct StoredMemo {
    std::uint16_t situation = 0;
    std::uint16_t symptoms = 0;
    std::uint16_t position = 0;
    std::uint16_t posture = 0;
    std::string situationText = {};
    std::string symptomText = {};
};

std::vector<std::uint16_t> Samples() {
    std::vector<std::uint16_t> samples(250);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::uint16_t>(1800 + (i * 37) % 500);
    }
    return samples;
}

records::RecordFields DefaultFields() {
    records::RecordFields fields;
    fields.recordedTime = kRecorded;
    fields.heartRate = 72;
    return fields;
}

template <typename Button> Button* Option(CUserMemo& dialog, unsigned firstId, int index) {
    return Control<Button>(&dialog, firstId + static_cast<unsigned>(index));
}

template <typename Button> int CheckedBits(CUserMemo& dialog, unsigned firstId, int count) {
    int bits = 0;
    for (int i = 0; i < count; ++i) {
        if (Option<Button>(dialog, firstId, i)->isChecked()) {
            bits |= 1 << i;
        }
    }
    return bits;
}

int Symptoms(CUserMemo& dialog) {
    return CheckedBits<QCheckBox>(dialog, CUserMemo::kIdFirstSymptom, CUserMemo::kSymptomCount);
}
int Situation(CUserMemo& dialog) {
    return CheckedBits<QRadioButton>(dialog, CUserMemo::kIdFirstSituation,
                                     CUserMemo::kSituationCount);
}
int Posture(CUserMemo& dialog) {
    return CheckedBits<QRadioButton>(dialog, CUserMemo::kIdFirstPosture, CUserMemo::kPostureCount);
}
int Position(CUserMemo& dialog) {
    return CheckedBits<QRadioButton>(dialog, CUserMemo::kIdFirstPosition,
                                     CUserMemo::kPositionCount);
}
QLineEdit* SituationEdit(CUserMemo& dialog) {
    return Control<QLineEdit>(&dialog, CUserMemo::kIdSituationText);
}
QLineEdit* SymptomEdit(CUserMemo& dialog) {
    return Control<QLineEdit>(&dialog, CUserMemo::kIdSymptomText);
}
void ClickOk(CUserMemo& dialog) {
    Control<ui::CCommonButton>(&dialog, kIdOk)->click();
}
// What the test leaves of a refused text: the limit's worth of UTF-16 units.
std::string FirstThirtyUnits(const std::string& text) {
    return QString::fromStdString(text).left(30).toStdString();
}
bool IsRed(QLineEdit* edit) {
    return edit->palette().color(QPalette::Text) == kRed;
}

class UserMemoTest : public ::testing::Test {
public:
    UserMemoTest() : m_language(dialogtest::kNoLanguage) {}

    void SetUp() override {
        ::setenv("TZ", "JST-9", 1);
        ::tzset();
    }

    // A record file with the memo saved into it, loaded into `record`.
    void MakeRecord(const StoredMemo& memo = {},
                    const records::RecordFields& fields = DefaultFields()) {
        path = folder.Write("d20240105150400_0001.ecg",
                            records::BuildRecordFile(fields, Samples(), true));
        records::CECGContentsData writer;
        writer.SetPath(path);
        writer.Load();
        writer.SetSituation(memo.situation);
        writer.SetSymptoms(memo.symptoms);
        writer.SetPosition(memo.position);
        writer.SetPosture(memo.posture);
        writer.SetSituationText(memo.situationText);
        writer.SetSymptomText(memo.symptomText);
        ASSERT_EQ(writer.Save(), 1);
        LoadRecord();
    }

    void LoadRecord() {
        record = records::CECGContentsData();
        record.SetPath(path);
        record.Load();
        ASSERT_TRUE(record.IsLoaded());
        bytesBefore = ReadFile(path);
    }

    // The record as a new load of its file finds it.
    records::CECGContentsData Reloaded() const {
        records::CECGContentsData again;
        again.SetPath(path);
        again.Load();
        EXPECT_TRUE(again.IsLoaded());
        return again;
    }

    // Runs the dialog on the record with the scripted prompts.
    int Run(const std::function<void(CUserMemo&)>& steps) {
        CUserMemo dialog(record);
        dialog.SetPrompts(&prompts);
        return RunModal(dialog, [&] { steps(dialog); });
    }

    dialogtest::LanguageScope m_language;
    testsupport::TempFolder folder;
    testsupport::ScriptedPrompts prompts;
    std::string path;
    std::string bytesBefore;
    records::CECGContentsData record;
};

struct SymptomCase {
    const char* name;
    std::uint16_t stored;
    std::vector<int> clicks; // box indexes, 0-based
    int expected;
};

TEST_F(UserMemoTest, NoAbnormalityExcludesTheOtherSymptoms) {
    const SymptomCase cases[] = {
        {"10 clears 1 to 9", 0x105, {9}, 0x200},
        {"any of 1 to 9 clears 10", 0x200, {1}, 0x002},
        {"9 with its free text clears 10 too", 0x200, {8}, 0x100},
        {"10 taken back leaves none", 0x200, {9}, 0},
        {"1 to 9 combine", 0, {0, 4, 8}, 0x111},
        {"one of 1 to 9 taken back keeps the others", 0x003, {0}, 0x002},
        {"10, then 3", 0x011, {9, 2}, 0x004},
    };
    for (const SymptomCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRecord({.symptoms = c.stored});
        const int answer = Run([&](CUserMemo& dialog) {
            EXPECT_EQ(Symptoms(dialog), c.stored);
            for (int index : c.clicks) {
                Option<QCheckBox>(dialog, CUserMemo::kIdFirstSymptom, index)->click();
            }
            EXPECT_EQ(Symptoms(dialog), c.expected);
            ClickOk(dialog);
        });
        EXPECT_EQ(answer, kIdOk);
        EXPECT_EQ(Reloaded().GetSymptoms(), c.expected);
    }
}

TEST_F(UserMemoTest, OpensWithTheStandardPositionAndStoresItAsV4) {
    MakeRecord();
    const int answer = Run([](CUserMemo& dialog) {
        EXPECT_EQ(Position(dialog), app::kStandardPosition);
        EXPECT_EQ(Situation(dialog), 0);
        EXPECT_EQ(Posture(dialog), 0);
        ClickOk(dialog);
    });
    EXPECT_EQ(answer, kIdOk);
    const records::CECGContentsData saved = Reloaded();
    EXPECT_EQ(saved.GetPosition(), 0x08);
    EXPECT_EQ(saved.GetSituation(), 0);
    EXPECT_EQ(saved.GetPosture(), 0);
}

TEST_F(UserMemoTest, ClearButtonsEmptyTheirGroupsAndKeepThemExclusive) {
    MakeRecord({.situation = 0x004, .position = 0x020, .posture = 0x002});
    const int answer = Run([](CUserMemo& dialog) {
        EXPECT_EQ(Situation(dialog), 0x004);
        EXPECT_EQ(Posture(dialog), 0x002);
        EXPECT_EQ(Position(dialog), 0x020);
        const struct {
            unsigned clear;
            unsigned firstOption;
            std::function<int(CUserMemo&)> bits;
        } groups[] = {
            {CUserMemo::kIdClearSituation, CUserMemo::kIdFirstSituation, Situation},
            {CUserMemo::kIdClearPosture, CUserMemo::kIdFirstPosture, Posture},
            {CUserMemo::kIdClearPosition, CUserMemo::kIdFirstPosition, Position},
        };
        for (const auto& group : groups) {
            Control<ui::CCommonButton>(&dialog, group.clear)->click();
            EXPECT_EQ(group.bits(dialog), 0) << group.clear;
            EXPECT_EQ(dialog.focusWidget(), Option<QWidget>(dialog, group.firstOption, 0))
                << group.clear;
        }
        // A cleared group still holds one choice at a time.
        Option<QRadioButton>(dialog, CUserMemo::kIdFirstPosture, 0)->click();
        Option<QRadioButton>(dialog, CUserMemo::kIdFirstPosture, 2)->click();
        EXPECT_EQ(Posture(dialog), 0x004);
        ClickOk(dialog);
    });
    EXPECT_EQ(answer, kIdOk);
    const records::CECGContentsData saved = Reloaded();
    EXPECT_EQ(saved.GetSituation(), 0);
    EXPECT_EQ(saved.GetPosture(), 0x004);
    EXPECT_EQ(saved.GetPosition(), 0);
}

struct LimitCase {
    const char* name;
    std::string situationText;
    std::string symptomText;
    bool situationOver;
    bool symptomOver;
};

TEST_F(UserMemoTest, FreeTextsHoldThirtyUnits) {
    const std::string tooLong = Repeat("a", 31);
    const LimitCase cases[] = {
        {"30 ASCII", Repeat("a", 30), Repeat("z", 30), false, false},
        {"30 Japanese", Repeat("胸", 30), Repeat("痛", 30), false, false},
        {"15 characters of two units each", Repeat("𠮷", 15), "", false, false},
        {"31 ASCII situation", tooLong, "", true, false},
        {"31 Japanese symptom", "", Repeat("痛", 31), false, true},
        {"one unit past the limit", Repeat("𠮷", 15) + "a", "", true, false},
        {"both too long", tooLong, tooLong, true, true},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRecord({.situation = 0x200, .symptoms = 0x100});
        prompts.shown.clear();
        const bool refused = c.situationOver || c.symptomOver;
        const int answer = Run([&](CUserMemo& dialog) {
            SituationEdit(dialog)->setText(QString::fromStdString(c.situationText));
            SymptomEdit(dialog)->setText(QString::fromStdString(c.symptomText));
            ClickOk(dialog);
            if (!refused) {
                return;
            }
            ASSERT_EQ(prompts.shown.size(), 1u);
            EXPECT_EQ(prompts.shown[0].text, platform::LoadText(app::kTextInputOver));
            EXPECT_EQ(prompts.shown[0].icon, platform::MessageIcon::Exclamation);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(IsRed(SituationEdit(dialog)), c.situationOver);
            EXPECT_EQ(IsRed(SymptomEdit(dialog)), c.symptomOver);
            EXPECT_EQ(dialog.focusWidget(),
                      c.situationOver ? SituationEdit(dialog) : SymptomEdit(dialog));
            EXPECT_EQ(ReadFile(path), bytesBefore);
            EXPECT_EQ(record.GetSituationText(), "");
            // Shortened to the limit, the text is black again and taken.
            for (QLineEdit* edit : {SituationEdit(dialog), SymptomEdit(dialog)}) {
                edit->setText(edit->text().left(30));
                EXPECT_FALSE(IsRed(edit));
            }
            ClickOk(dialog);
        });
        EXPECT_EQ(answer, kIdOk);
        EXPECT_EQ(prompts.shown.size(), refused ? 1u : 0u);
        const records::CECGContentsData saved = Reloaded();
        EXPECT_EQ(saved.GetSituationText(), FirstThirtyUnits(c.situationText));
        EXPECT_EQ(saved.GetSymptomText(), FirstThirtyUnits(c.symptomText));
    }
}

TEST_F(UserMemoTest, OkSavesEveryChoiceAndLeavesTheRestOfTheFile) {
    MakeRecord({.situation = 0x001, .symptoms = 0x200, .situationText = "古い"});
    const int answer = Run([](CUserMemo& dialog) {
        EXPECT_EQ(SituationEdit(dialog)->text(), QStringLiteral("古い"));
        Option<QRadioButton>(dialog, CUserMemo::kIdFirstSituation, 9)->click();
        SituationEdit(dialog)->setText(QStringLiteral("会議中"));
        Option<QCheckBox>(dialog, CUserMemo::kIdFirstSymptom, 1)->click();
        Option<QCheckBox>(dialog, CUserMemo::kIdFirstSymptom, 8)->click();
        SymptomEdit(dialog)->setText(QStringLiteral("めまい"));
        Option<QRadioButton>(dialog, CUserMemo::kIdFirstPosture, 2)->click();
        Option<QRadioButton>(dialog, CUserMemo::kIdFirstPosition, 7)->click();
        ClickOk(dialog);
    });
    EXPECT_EQ(answer, kIdOk);
    const records::CECGContentsData saved = Reloaded();
    const records::CECGContentsData* const memos[] = {&record, &saved};
    for (const records::CECGContentsData* memo : memos) {
        EXPECT_EQ(memo->GetSituation(), 0x200);
        EXPECT_EQ(memo->GetSituationText(), "会議中");
        EXPECT_EQ(memo->GetSymptoms(), 0x102);
        EXPECT_EQ(memo->GetSymptomText(), "めまい");
        EXPECT_EQ(memo->GetPosture(), 0x004);
        EXPECT_EQ(memo->GetPosition(), 0x080);
    }
    // Only the memo block changed: header, samples and padding are as read.
    const std::string after = ReadFile(path);
    ASSERT_EQ(after.size(), bytesBefore.size());
    const std::size_t memoStart = bytesBefore.size() - records::kMemoBlockSize;
    EXPECT_EQ(after.substr(0, memoStart), bytesBefore.substr(0, memoStart));
}

TEST_F(UserMemoTest, CancelAndEscapeLeaveFileAndRecordAsTheyWere) {
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        MakeRecord({.situation = 0x002, .symptoms = 0x001, .symptomText = "少し"});
        const int answer = Run([escape](CUserMemo& dialog) {
            Control<ui::CCommonButton>(&dialog, CUserMemo::kIdClearSituation)->click();
            Option<QCheckBox>(dialog, CUserMemo::kIdFirstSymptom, 9)->click();
            SymptomEdit(dialog)->setText(QStringLiteral("変えた"));
            if (escape) {
                PressKey(SymptomEdit(dialog), Qt::Key_Escape);
            } else {
                Control<ui::CCommonButton>(&dialog, kIdCancel)->click();
            }
        });
        EXPECT_EQ(answer, kIdCancel);
        EXPECT_EQ(ReadFile(path), bytesBefore);
        EXPECT_EQ(record.GetSituation(), 0x002);
        EXPECT_EQ(record.GetSymptoms(), 0x001);
        EXPECT_EQ(record.GetSymptomText(), "少し");
    }
}

TEST_F(UserMemoTest, KeyboardMovesThroughTheGroupsAndEnterSaves) {
    MakeRecord({.situation = 0x001});
    const int answer = Run([](CUserMemo& dialog) {
        // Arrow keys look for the application's focus, which only an
        // active window has.
        dialog.activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), &dialog);
        auto* first = Option<QRadioButton>(dialog, CUserMemo::kIdFirstSituation, 0);
        first->setFocus();
        PressKey(first, Qt::Key_Right);
        EXPECT_EQ(Situation(dialog), 0x002);
        auto* ninth = Option<QCheckBox>(dialog, CUserMemo::kIdFirstSymptom, 8);
        ninth->setFocus();
        PressKey(ninth, Qt::Key_Space);
        EXPECT_EQ(Symptoms(dialog), 0x100);
        PressKey(ninth, Qt::Key_Tab);
        ASSERT_EQ(dialog.focusWidget(), SymptomEdit(dialog));
        SymptomEdit(dialog)->setText(QStringLiteral("typed"));
        PressKey(SymptomEdit(dialog), Qt::Key_Return);
    });
    EXPECT_EQ(answer, kIdOk);
    const records::CECGContentsData saved = Reloaded();
    EXPECT_EQ(saved.GetSituation(), 0x002);
    EXPECT_EQ(saved.GetSymptoms(), 0x100);
    EXPECT_EQ(saved.GetSymptomText(), "typed");
}

struct RefusalCase {
    const char* name;
    std::function<void(const std::string& path)> spoil;
    unsigned message;
    platform::MessageIcon icon;
    // Undoes the spoiling, so the next OK saves; none for a file that has gone.
    std::function<void(const std::string& path)> mend;
};

TEST_F(UserMemoTest, UnwritableOrVanishedFileIsRefusedAndTheDialogStaysOpen) {
    const RefusalCase cases[] = {
        {"write-protected", [](const std::string& p) { ::chmod(p.c_str(), 0444); },
         app::kTextWriteError, platform::MessageIcon::Exclamation,
         [](const std::string& p) { ::chmod(p.c_str(), 0644); }},
        {"vanished", [](const std::string& p) { std::filesystem::remove(p); },
         app::kTextDataNotFound, platform::MessageIcon::Hand, nullptr},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRecord({.situation = 0x008});
        prompts.shown.clear();
        c.spoil(path);
        const std::string spoiled = ReadFile(path);
        const int answer = Run([&](CUserMemo& dialog) {
            Option<QRadioButton>(dialog, CUserMemo::kIdFirstSituation, 0)->click();
            ClickOk(dialog);
            ASSERT_EQ(prompts.shown.size(), 1u);
            EXPECT_EQ(prompts.shown[0].text, platform::LoadText(c.message));
            EXPECT_EQ(prompts.shown[0].icon, c.icon);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(record.GetSituation(), 0x008);
            EXPECT_EQ(ReadFile(path), spoiled);
            if (c.mend) {
                c.mend(path);
                ClickOk(dialog);
            } else {
                dialog.reject();
            }
        });
        EXPECT_EQ(answer, c.mend ? kIdOk : kIdCancel);
        if (c.mend) {
            EXPECT_EQ(Reloaded().GetSituation(), 0x001);
        } else {
            EXPECT_FALSE(std::filesystem::exists(path));
        }
    }
}

TEST_F(UserMemoTest, FailedSaveKeepsTheDialogOpenAndTheRecordAsItWas) {
    const struct {
        const char* name;
        std::function<void(UserMemoTest&)> make;
    } cases[] = {
        // The load stops at a damaged padding byte before a memo it cannot
        // take in, so saving would destroy that memo and is refused.
        {"memo behind damaged padding",
         [](UserMemoTest& test) {
             test.MakeRecord({.situation = 0x004});
             std::string bytes = ReadFile(test.path);
             bytes[bytes.size() - records::kMemoBlockSize - 1] = 0x00;
             testsupport::WriteFile(test.path, bytes);
             test.LoadRecord();
         }},
        {"record without samples",
         [](UserMemoTest& test) {
             test.MakeRecord({.situation = 0x004});
             test.record = records::CECGContentsData();
             test.record.SetPath(test.path);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(*this);
        prompts.shown.clear();
        const int situationBefore = record.GetSituation();
        const int answer = Run([&](CUserMemo& dialog) {
            Option<QRadioButton>(dialog, CUserMemo::kIdFirstSituation, 6)->click();
            SituationEdit(dialog)->setText(QStringLiteral("lost?"));
            ClickOk(dialog);
            ASSERT_EQ(prompts.shown.size(), 1u);
            EXPECT_EQ(prompts.shown[0].text, platform::LoadText(app::kTextWriteError));
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(record.GetSituation(), situationBefore);
            EXPECT_EQ(record.GetSituationText(), "");
            dialog.reject();
        });
        EXPECT_EQ(answer, kIdCancel);
        EXPECT_EQ(ReadFile(path), bytesBefore);
    }
}

struct HeaderCase {
    const char* name;
    app::LanguageId language;
    std::uint8_t kindByte;
    std::uint32_t flags;
    std::uint16_t heartRate;
    const char* date;
    const char* analysis;
    const char* heartRateText;
    std::optional<QColor> bar; // none: the bar is hidden
};

TEST_F(UserMemoTest, HeaderShowsDateResultHeartRateAndSeverity) {
    const HeaderCase cases[] = {
        {"no finding", dialogtest::kEnglish, 1, 0x0000, 72, "2024/1/5 (Fri)  15:04",
         "No irregularity found", "72", std::nullopt},
        {"fast rate", dialogtest::kEnglish, 1, 0x0020, 200, "2024/1/5 (Fri)  15:04",
         "Fast heart rate", "200", QColor(255, 116, 116)},
        {"irregular beats, rate too high to show", dialogtest::kEnglish, 2, 0x0021, 201,
         "2024/1/5 (Fri)  15:04", "Quick heart rate with irregular beats", "--",
         QColor(223, 47, 47)},
        {"not analysable, undated", dialogtest::kEnglish, 0, 0x0800, 29, "----/--/--(-) --:--",
         "Cannot be analysed", "--", QColor(96, 96, 96)},
        {"Japanese", dialogtest::kJapanese, 1, 0x0040, 30, "2024年1月5日(金)  15:04",
         "心拍が遅めです", "30", QColor(255, 116, 116)},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        dialogtest::LanguageScope language(c.language);
        records::RecordFields fields = DefaultFields();
        fields.kindByte = c.kindByte;
        fields.flags = c.flags;
        fields.heartRate = c.heartRate;
        MakeRecord({}, fields);
        Run([&](CUserMemo& dialog) {
            EXPECT_EQ(Control<QLabel>(&dialog, CUserMemo::kIdDate)->text().toStdString(), c.date);
            EXPECT_EQ(Control<QLabel>(&dialog, CUserMemo::kIdAnalysis)->text().toStdString(),
                      c.analysis);
            EXPECT_EQ(Control<QLabel>(&dialog, CUserMemo::kIdHeartRate)->text().toStdString(),
                      c.heartRateText);
            auto* bar = Control<QLabel>(&dialog, CUserMemo::kIdSeverityBar);
            EXPECT_EQ(bar->isVisible(), c.bar.has_value());
            if (c.bar) {
                EXPECT_EQ(bar->pixmap().toImage().pixelColor(3, 40), *c.bar);
            }
            dialog.reject();
        });
    }
}

// The controls a person reads or uses, which must neither overlap nor leave
// the dialog; the header's texts and pictures lie on its white frame.
std::vector<QWidget*> PlacedControls(CUserMemo& dialog) {
    std::vector<QWidget*> controls;
    for (QWidget* widget : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (widget->isVisible() && ui::ControlId(widget) != 1192) {
            controls.push_back(widget);
        }
    }
    return controls;
}

TEST_F(UserMemoTest, EveryLanguageFitsWithoutOverlaps) {
    for (app::LanguageId id :
         {dialogtest::kNoLanguage, dialogtest::kEnglish, dialogtest::kJapanese}) {
        SCOPED_TRACE(id);
        dialogtest::LanguageScope language(id);
        MakeRecord({}, [] {
            records::RecordFields fields = DefaultFields();
            fields.flags = 0x0127; // the longest result text of the shipped languages
            return fields;
        }());
        Run([](CUserMemo& dialog) {
            EXPECT_GE(dialog.width(), 684);
            EXPECT_GE(dialog.height(), 686);
            const std::vector<QWidget*> controls = PlacedControls(dialog);
            for (QWidget* control : controls) {
                const QRect place = control->geometry();
                EXPECT_TRUE(dialog.rect().contains(place)) << ui::ControlId(control);
                if (qobject_cast<QAbstractButton*>(control) != nullptr) {
                    EXPECT_GE(place.width(), control->sizeHint().width()) << ui::ControlId(control);
                }
                if (auto* label = qobject_cast<QLabel*>(control);
                    label && !label->text().isEmpty()) {
                    EXPECT_GE(place.width(),
                              QFontMetrics(label->font()).horizontalAdvance(label->text()))
                        << ui::ControlId(control);
                }
                for (QWidget* other : controls) {
                    if (other != control) {
                        EXPECT_FALSE(place.intersects(other->geometry()))
                            << ui::ControlId(control) << " and " << ui::ControlId(other);
                    }
                }
            }
            EXPECT_EQ(SituationEdit(dialog)->x(), SymptomEdit(dialog)->x());
            dialog.reject();
        });
    }
}

} // namespace
