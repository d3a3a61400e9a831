#pragma once

#include "kit/ArrayController.h"
#include "kit/Panel.h"
#include "kit/TableView.h"
#include "kit/TextField.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

namespace kit {
class Formatter;
class Observation;
} // namespace kit

namespace kit_sample {

// The controller of the kit's sample window: a recipient list with an entry form, options, and
// a details panel that can empty the list after asking. Everything it shows reaches the window
// through the bindings of the sample layout.
class SampleController : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString number READ number WRITE setNumber NOTIFY numberChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(int quality READ quality WRITE setQuality NOTIFY qualityChanged)
    Q_PROPERTY(int delayed READ delayed WRITE setDelayed NOTIFY delayedChanged)
    Q_PROPERTY(
        QDateTime delayedTime READ delayedTime WRITE setDelayedTime NOTIFY delayedTimeChanged)
    Q_PROPERTY(bool canAdd READ canAdd NOTIFY canAddChanged)
    Q_PROPERTY(bool canRemove READ canRemove NOTIFY canRemoveChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY statusChanged)
    Q_CLASSINFO("kit.affects.canAdd", "number")

    // Outlets.
    Q_PROPERTY(kit::Panel* window MEMBER window_)
    Q_PROPERTY(kit::Panel* detailsPanel MEMBER detailsPanel_)
    Q_PROPERTY(kit::ArrayController* recipients MEMBER recipients_)
    Q_PROPERTY(kit::ArrayController* files MEMBER files_)
    Q_PROPERTY(kit::TextField* numberField MEMBER numberField_)
    Q_PROPERTY(kit::TableView* recipientTable MEMBER recipientTable_)

public:
    SampleController();
    ~SampleController() override;

    QString name() const { return name_; }
    void setName(const QString& name);
    QString number() const { return number_; }
    void setNumber(const QString& number);
    QString searchText() const { return searchText_; }
    void setSearchText(const QString& text);
    int quality() const { return quality_; }
    void setQuality(int quality);
    int delayed() const { return delayed_; }
    void setDelayed(int delayed);
    QDateTime delayedTime() const { return delayedTime_; }
    void setDelayedTime(const QDateTime& time);

    // A fax number was typed.
    bool canAdd() const { return !number_.isEmpty(); }
    // At least one recipient is selected.
    bool canRemove() const;
    QString status() const;
    QString summary() const;

    void addRecipient(const QString& name, const QString& number);
    // 1 after Start, 0 after Stop, -1 before either.
    int outcome() const { return outcome_; }

    Q_INVOKABLE void awakeFromNib();

    Q_INVOKABLE void addRecipient(QObject* sender);
    Q_INVOKABLE void removeRecipients(QObject* sender);
    Q_INVOKABLE void search(QObject* sender);
    Q_INVOKABLE void showDetails(QObject* sender);
    Q_INVOKABLE void clearList(QObject* sender);
    Q_INVOKABLE void closeDetails(QObject* sender);
    Q_INVOKABLE void start(QObject* sender);
    Q_INVOKABLE void stop(QObject* sender);

signals:
    void nameChanged();
    void numberChanged();
    void searchTextChanged();
    void qualityChanged();
    void delayedChanged();
    void delayedTimeChanged();
    void canAddChanged();
    void canRemoveChanged();
    void statusChanged();

private:
    void finish(int outcome);

    QString name_;
    QString number_;
    QString searchText_;
    int quality_ = 0;
    int delayed_ = 0;
    QDateTime delayedTime_;
    int outcome_ = -1;

    kit::Panel* window_ = nullptr;
    kit::Panel* detailsPanel_ = nullptr;
    kit::ArrayController* recipients_ = nullptr;
    kit::ArrayController* files_ = nullptr;
    kit::TextField* numberField_ = nullptr;
    kit::TableView* recipientTable_ = nullptr;

    std::unique_ptr<kit::Formatter> numberFormatter_;
    QPointer<kit::TextField> formattedField_;
    std::vector<std::unique_ptr<kit::Observation>> observations_;
};

} // namespace kit_sample
