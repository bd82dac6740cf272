// The record search dialog: one check box for all result groups and one per
// group; OK stores the six search switches in the settings object, which the
// record list filters by.
#pragma once

#include "records/SearchFilter.h"

#include <QDialog>

#include <array>

class QCheckBox;

namespace app {
class CECGOptions;
}

namespace ui {

class CCommonButton;

class CSearchDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr unsigned kTemplateId = 356;
    static constexpr unsigned kIdAll = 1296;
    // The group boxes 1297..1302 follow the switches 0..5.
    static constexpr unsigned kIdFirstGroup = 1297;

    CSearchDlg(app::CECGOptions& options, QWidget* parent = nullptr);

    // platform::kIdOk with the switches stored; platform::kIdCancel with
    // nothing changed.
    int DoModal();

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls();
    void InitDialog();
    void OnAllClicked(bool on);
    void OnGroupClicked(bool on);

    app::CECGOptions& m_options;
    QCheckBox* m_pAll = nullptr;
    std::array<QCheckBox*, records::kSearchSwitchCount> m_groups{};
    CCommonButton* m_pOk = nullptr;
    CCommonButton* m_pCancel = nullptr;
};

} // namespace ui
