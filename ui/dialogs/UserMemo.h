// The user memo dialog: the situation, symptoms, posture and electrode
// position of one recording, under a header that repeats its date and result;
// OK checks the free texts and the file and saves the record.
#pragma once

#include "app/MemoEdit.h"
#include "ui/dialogs/WindowPrompts.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace records {
class CECGContentsData;
}

namespace ui {

class CCommonButton;

class CUserMemo : public QDialog {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 262;

    static constexpr int kSituationCount = 10;
    static constexpr int kSymptomCount = 10;
    static constexpr int kPostureCount = 3;
    static constexpr int kPositionCount = 8;

    // Option i of a group has control id first + i.
    static constexpr unsigned kIdFirstSituation = 1211;
    static constexpr unsigned kIdFirstSymptom = 1234;
    static constexpr unsigned kIdFirstPosture = 1221;
    static constexpr unsigned kIdFirstPosition = 1245;
    static constexpr unsigned kIdSituationText = 1233;
    static constexpr unsigned kIdSymptomText = 1183;
    static constexpr unsigned kIdClearSituation = 1273;
    static constexpr unsigned kIdClearPosture = 1272;
    static constexpr unsigned kIdClearPosition = 1276;
    static constexpr unsigned kIdSeverityBar = 1188;
    static constexpr unsigned kIdDate = 1226;
    static constexpr unsigned kIdAnalysis = 1229;
    static constexpr unsigned kIdHeartRate = 1228;

    // The record is loaded; the dialog edits it and saves it on OK.
    CUserMemo(records::CECGContentsData& record, QWidget* parent = nullptr);

    // Who shows the refusals; the window prompts unless replaced.
    void SetPrompts(platform::IUserPrompts* prompts);

    // platform::kIdOk once the memo is stored in the record and saved to its
    // file; platform::kIdCancel otherwise, the record then as it was. A
    // refusal or a failed save shows its message and keeps the dialog open.
    int DoModal();

public slots:
    void accept() override;
    void reject() override;

private:
    void BuildControls();
    void BuildHeader();
    void InitDialog();
    void ShowHeader();
    void ShowValues(const app::MemoValues& values);
    app::MemoValues TakeValues() const;
    void LayoutControls();
    void OnSymptomClicked(int index);
    void ClearGroup(QButtonGroup* group);
    void ShowOverLimit();
    void RestoreRecord();

    records::CECGContentsData& m_record;
    // The memo as the record held it, put back when a save fails.
    app::MemoValues m_original;
    app::MemoOverLimit m_overLimit;
    CWindowPrompts m_windowPrompts;
    platform::IUserPrompts* m_pPrompts = &m_windowPrompts;

    std::array<QRadioButton*, kSituationCount> m_situations{};
    std::array<QCheckBox*, kSymptomCount> m_symptoms{};
    std::array<QRadioButton*, kPostureCount> m_postures{};
    std::array<QRadioButton*, kPositionCount> m_positions{};
    QButtonGroup* m_pSituationGroup = nullptr;
    QButtonGroup* m_pPostureGroup = nullptr;
    QButtonGroup* m_pPositionGroup = nullptr;
    QLineEdit* m_pSituationText = nullptr;
    QLineEdit* m_pSymptomText = nullptr;

    QLabel* m_pHeaderFrame = nullptr;
    QLabel* m_pSeverityBar = nullptr;
    QLabel* m_pDate = nullptr;
    QLabel* m_pAnalysis = nullptr;
    QLabel* m_pHeart = nullptr;
    QLabel* m_pHeartRate = nullptr;
    QLabel* m_pBpm = nullptr;
    QLabel* m_pPositionPicture = nullptr;
    QLabel* m_pSymptomHeading = nullptr;
    QLabel* m_pSymptomNote = nullptr;
    QLabel* m_pSituationHeading = nullptr;
    QLabel* m_pPostureHeading = nullptr;
    QLabel* m_pPositionHeading = nullptr;
    CCommonButton* m_pClearSituation = nullptr;
    CCommonButton* m_pClearPosture = nullptr;
    CCommonButton* m_pClearPosition = nullptr;
    CCommonButton* m_pOk = nullptr;
    CCommonButton* m_pCancel = nullptr;
};

} // namespace ui
