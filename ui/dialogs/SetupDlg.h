// The option settings dialog: shows the data folder, lets the person browse
// for another one, and stores it in the settings object when OK finds it
// acceptable; a refused folder is explained and the dialog stays open.
#pragma once

#include "ui/dialogs/WindowPrompts.h"

#include <QDialog>

#include <functional>

class QLineEdit;

namespace app {
class CECGOptions;
}

namespace ui {

class CCommonButton;

class CSetupDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 212;
    static constexpr unsigned kIdFolderEdit = 1173;
    static constexpr unsigned kIdBrowse = 1186;
    static constexpr unsigned kIdFolderLabel = 1189;
    static constexpr unsigned kIdHintLabel = 1190;
    static constexpr unsigned kIdFolderGroup = 1191;

    using FolderChooser = std::function<QString(QWidget* owner, const QString& start)>;

    CSetupDlg(app::CECGOptions& options, QWidget* parent = nullptr);

    // Who shows the refusals; the window prompts unless replaced.
    void SetPrompts(platform::IUserPrompts* prompts);
    // Replaces the folder browser (tests); an empty answer means none chosen.
    void SetFolderChooser(FolderChooser chooser);

    // platform::kIdOk with the new folder stored in dirHdd;
    // platform::kIdCancel with the settings unchanged.
    int DoModal();

public slots:
    void accept() override;
    void reject() override;

private:
    void BuildControls();
    void InitDialog();
    void OnBrowse();
    platform::IUserPrompts& Prompts();

    app::CECGOptions& m_options;
    FolderChooser m_chooseFolder;
    platform::IUserPrompts* m_pPrompts = nullptr;
    CWindowPrompts m_windowPrompts;
    QLineEdit* m_pFolder = nullptr;
    CCommonButton* m_pBrowse = nullptr;
    CCommonButton* m_pOk = nullptr;
    CCommonButton* m_pCancel = nullptr;
};

} // namespace ui
