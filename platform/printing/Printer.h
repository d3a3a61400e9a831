#pragma once

#include <QString>

namespace printing {

// The printer of the job: its queue name, device URI and PPD file.
class Printer {
public:
    Printer() = default;
    Printer(QString name, QString deviceURI, QString ppdPath);

    QString name() const { return name_; }
    QString deviceURI() const { return deviceURI_; }
    QString ppdPath() const { return ppdPath_; }

    void setName(const QString& name) { name_ = name; }
    void setDeviceURI(const QString& uri) { deviceURI_ = uri; }
    void setPpdPath(const QString& path) { ppdPath_ = path; }

private:
    QString name_;
    QString deviceURI_;
    QString ppdPath_;
};

} // namespace printing
