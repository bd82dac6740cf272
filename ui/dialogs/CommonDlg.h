// The two information dialogs of the Help menu: various information about
// the program (with a link to the software licence) and the regulatory
// information of the device (with a link to the attached document).
#pragma once

#include "platform/UserPrompts.h"

#include <QDialog>

#include <functional>
#include <string>

class QLabel;

namespace ui {

class CCommonButton;
class CLinkLabel;

class CommonDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kVarious = 344, kRegulatory = 346;
    // The documents the links open, by the string id of their file name.
    static constexpr unsigned kLicenceTextId = 62326;
    static constexpr unsigned kAttachedDocumentTextId = 62333;

    CommonDlg(int templateId, QWidget* parent = nullptr);

    // platform::kIdOk from the button or Enter, platform::kIdCancel from
    // Escape.
    int DoModal();

    // How a link opens its document and reports one that cannot be opened;
    // OpenDocument and the window prompts unless replaced.
    void SetDocumentOpener(std::function<bool(const std::string&)> opener);
    void SetPrompts(platform::IUserPrompts* prompts) { m_pPrompts = prompts; }

public slots:
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void InitDialog();
    void OpenManualDocument(unsigned stringId);
    QLabel* Control(unsigned id) const;

    int m_nTemplateId;
    CCommonButton* m_pOk = nullptr;
    QWidget* m_pHeading = nullptr;
    CLinkLabel* m_pLink = nullptr;
    std::function<bool(const std::string&)> m_openDocument;
    platform::IUserPrompts* m_pPrompts = nullptr;
};

} // namespace ui
