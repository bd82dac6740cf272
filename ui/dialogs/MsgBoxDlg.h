// The program's own message box: a heading and a message on a white block
// with one or two buttons below, used for device errors, confirmations,
// yes/no questions and the choice of which recordings to print.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QRadioButton;
class QScrollArea;

namespace ui {

class CCommonButton;

class MsgBoxDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 101;

    // Button layouts.
    static constexpr int kTypeOneOk = 0;      // button 2 alone, labelled "OK"
    static constexpr int kTypeOneButton = 1;  // button 2 alone, its own label
    static constexpr int kTypeTwoButtons = 2; // both buttons
    // What the two buttons ask (with kTypeTwoButtons).
    static constexpr int kModePlain = 0;
    static constexpr int kModeYesNo = 1;
    static constexpr int kModePrintChoice = 2;
    // Print choices.
    static constexpr int kChoiceMarked = 0;
    static constexpr int kChoiceFocused = 1;

    // Control ids, for the language file and for callers that look inside.
    static constexpr unsigned kIdWhiteBlock = 1192;
    static constexpr unsigned kIdHeading = 1276;
    static constexpr unsigned kIdMessage = 1277;
    static constexpr unsigned kIdRadioMarked = 1411;
    static constexpr unsigned kIdRadioFocused = 1412;
    static constexpr unsigned kIdMarkPicture = 1413;
    static constexpr unsigned kIdMarkedTail = 1297;

    explicit MsgBoxDlg(QWidget* parent = nullptr);
    MsgBoxDlg(const std::string& heading, const std::string& message, int type,
              QWidget* parent = nullptr);

    void SetHeading(const std::string& text) { m_strHeading = text; }
    void SetMessage(const std::string& text) { m_strMessage = text; }
    // The label of button 1 in the plain two-button form; empty for "OK".
    void SetOkText(const std::string& text) { m_strOkText = text; }
    void SetType(int type) { m_nType = type; }
    void SetMode(int mode) { m_nMode = mode; }

    // platform::kIdOk for button 1, platform::kIdCancel for button 2,
    // Escape or closing the window.
    int DoModal();
    int GetChoice() const { return m_nChoice; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    // What DoModal shows: texts, colours, fonts and which controls appear.
    void InitDialog();
    void SizeToText();
    bool TwoButtonForm() const { return m_nType == kTypeTwoButtons; }
    bool PrintChoiceForm() const { return TwoButtonForm() && m_nMode == kModePrintChoice; }
    bool YesNoForm() const { return TwoButtonForm() && m_nMode == kModeYesNo; }
    // Enter: button 2 when it has the focus or stands alone, else OK.
    void AnswerEnter();
    void SetChoice(int choice);

    std::string m_strHeading;
    std::string m_strMessage;
    std::string m_strOkText;
    CCommonButton* m_pBtn1 = nullptr;
    CCommonButton* m_pBtn2 = nullptr;
    int m_nType = kTypeTwoButtons;
    int m_nMode = kModePlain;
    QRadioButton* m_pRadioMarked = nullptr;
    QRadioButton* m_pRadioFocused = nullptr;
    int m_nChoice = kChoiceMarked;

    QLabel* m_pHeading = nullptr;
    QLabel* m_pMessage = nullptr;
    QScrollArea* m_pMessageArea = nullptr;
    QLabel* m_pMarkPicture = nullptr;
    QLabel* m_pMarkedTail = nullptr;
};

} // namespace ui
