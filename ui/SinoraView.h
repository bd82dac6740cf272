// The main window's client: a grey header strip with the title, the count
// of selected records, a delete button, a select-all toggle and the search
// button, above the record list. Its timer drives the device connection
// watcher.
#pragma once

#include <QPushButton>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace app {
class CECGFramework;
}

namespace ui {

class CSinora2Doc;
class CSinora2View;

class CSinoraView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeaderHeight = 48;
    static constexpr int kListLeft = 24;
    static constexpr int kDeviceTimerMs = 3000;

    CSinoraView(app::CECGFramework& framework, CSinora2Doc& document, QWidget* parent = nullptr);

    CSinora2View& List() { return *m_pList; }
    void UpdateSelectionCount();
    // The header's texts from the current language, and its layout.
    void ApplyLanguage();
    // The search button shows whether a partial filter is in force.
    void UpdateSearchLook();

    QLabel& CountLabel() { return *m_pCount; }
    QPushButton& DeleteButton() { return *m_btnDelete; }
    QPushButton& SelectAllButton() { return *m_btnSelectAll; }
    QPushButton& SearchButton() { return *m_btnSearch; }
    bool SelectAllNext() const { return m_bSelectAllNext != 0; }

signals:
    // Every tick of the device timer.
    void DeviceTimer();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnDelete();
    void OnSelectAll();
    void OnSearch();
    void LayoutHeader();

    app::CECGFramework& m_framework;
    CSinora2Doc& m_document;
    CSinora2View* m_pList;
    QLabel* m_pTitle;
    QLabel* m_pCount;
    QPushButton* m_btnDelete;
    int m_bSelectAllNext = 1;
    QPushButton* m_btnSelectAll;
    QPushButton* m_btnSearch;
    QTimer m_timer;
};

} // namespace ui
