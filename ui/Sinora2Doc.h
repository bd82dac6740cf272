// The main window's document: the folder whose records the list shows.
// Updating its views refills the list.
#pragma once

#include <QObject>

#include <string>

namespace ui {

class CSinora2Doc : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    std::string m_strDataFolder;

    void UpdateAllViews() { emit ViewsUpdated(); }

signals:
    void ViewsUpdated();
};

} // namespace ui
