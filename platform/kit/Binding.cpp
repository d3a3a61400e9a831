#include "kit/Binding.h"

#include "kit/ArrayController.h"
#include "kit/Button.h"
#include "kit/ComboBox.h"
#include "kit/DatePicker.h"
#include "kit/Dictionary.h"
#include "kit/KeyValue.h"
#include "kit/PopUpButton.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "kit/View.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTime>
#include <QScopedValueRollback>
#include <memory>
#include <vector>

namespace kit {
namespace {

const QString ValueBinding = QStringLiteral("value");
const QString EnabledBinding = QStringLiteral("enabled");
const QString HiddenBinding = QStringLiteral("hidden");
const QString ContentBinding = QStringLiteral("content");

// The base for bindings that follow one key path of the object.
class KeyPathBinding : public Binding {
public:
    using Binding::Binding;

protected:
    void start() override {
        showModelValue(valueForKeyPath(object(), keyPath()));
        observation_ = observe(object(), keyPath(), [this](const QVariant& value) {
            if (!writingModel_) {
                showModelValue(value);
            }
        });
        connectUserChanges();
    }
    void stop() override { observation_.reset(); }

    virtual void showModelValue(const QVariant& value) = 0;
    virtual void connectUserChanges() {}

    void writeModelValue(const QVariant& value) {
        if (!isBound()) {
            return;
        }
        QScopedValueRollback<bool> guard(writingModel_, true);
        setValueForKeyPath(object(), keyPath(), value);
    }

private:
    std::unique_ptr<Observation> observation_;
    bool writingModel_ = false;
};

QString textOf(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return QString();
    }
    return value.toString();
}

class TextValueBinding : public KeyPathBinding {
public:
    TextValueBinding(TextField* field, QObject* object, const QString& keyPath, bool continuous)
        : KeyPathBinding(field, ValueBinding, object, keyPath), field_(field),
          continuous_(continuous) {}

protected:
    void showModelValue(const QVariant& value) override {
        const QString text = textOf(value);
        if (field_->stringValue() != text) {
            field_->setStringValue(text);
        }
    }
    void connectUserChanges() override {
        if (continuous_) {
            connect(field_, &TextField::textEdited, this,
                    [this](const QString& text) { writeModelValue(text); });
        }
        connect(field_, &TextField::editingEnded, this,
                [this] { writeModelValue(field_->stringValue()); });
        if (auto* comboBox = dynamic_cast<ComboBox*>(field_)) {
            connect(comboBox->comboBox(), &QComboBox::activated, this,
                    [this] { writeModelValue(field_->stringValue()); });
        }
    }

private:
    TextField* field_;
    bool continuous_;
};

class ButtonValueBinding : public KeyPathBinding {
public:
    ButtonValueBinding(Button* button, QObject* object, const QString& keyPath)
        : KeyPathBinding(button, ValueBinding, object, keyPath), button_(button) {}

protected:
    void showModelValue(const QVariant& value) override {
        button_->setState(truthValue(value) ? 1 : 0);
    }
    void connectUserChanges() override {
        connect(button_->button(), &QAbstractButton::clicked, this,
                [this] { writeModelValue(button_->state()); });
    }

private:
    Button* button_;
};

class DateValueBinding : public KeyPathBinding {
public:
    DateValueBinding(DatePicker* picker, QObject* object, const QString& keyPath)
        : KeyPathBinding(picker, ValueBinding, object, keyPath), picker_(picker) {}

protected:
    void showModelValue(const QVariant& value) override {
        const QDateTime date = value.toDateTime();
        if (date.isValid() && date != picker_->dateValue()) {
            picker_->setDateValue(date);
        }
    }
    void connectUserChanges() override {
        connect(picker_, &DatePicker::userChangedDate, this,
                [this](const QDateTime& date) { writeModelValue(date); });
    }

private:
    DatePicker* picker_;
};

class PopUpValueBinding : public KeyPathBinding {
public:
    PopUpValueBinding(PopUpButton* popUp, QObject* object, const QString& keyPath)
        : KeyPathBinding(popUp, ValueBinding, object, keyPath), popUp_(popUp) {}

protected:
    void showModelValue(const QVariant& value) override {
        bool isNumber = false;
        const int index = value.toInt(&isNumber);
        popUp_->selectItemAtIndex(isNumber ? index : -1);
    }
    void connectUserChanges() override {
        connect(popUp_, &PopUpButton::userSelectedItem, this,
                [this](int index) { writeModelValue(index); });
    }

private:
    PopUpButton* popUp_;
};

// enabled and hidden: each binding keeps its own truth value; the view shows the AND (enabled)
// or the OR (hidden) of all the view's bindings of that name.
class StateBinding : public KeyPathBinding {
public:
    StateBinding(View* view, const QString& name, QObject* object, const QString& keyPath)
        : KeyPathBinding(view, name, object, keyPath) {}

    bool currentValue() const { return current_; }

protected:
    void showModelValue(const QVariant& value) override {
        current_ = truthValue(value);
        applyCombinedState();
    }

private:
    void applyCombinedState() {
        const bool isEnabledBinding = name() == EnabledBinding;
        bool combined = isEnabledBinding;
        for (Binding* binding : bindingsOf(view())) {
            auto* state = dynamic_cast<StateBinding*>(binding);
            if (state == nullptr || state->name() != name()) {
                continue;
            }
            combined = isEnabledBinding ? (combined && state->currentValue())
                                        : (combined || state->currentValue());
        }
        if (isEnabledBinding) {
            view()->setEnabled(combined);
        } else {
            view()->setHidden(combined);
        }
    }

    bool current_ = false;
};

class TableContentBinding : public Binding {
public:
    TableContentBinding(TableView* table, ArrayController* controller,
                        const QList<ArrayTableModel::Column>& columns)
        : Binding(table, ContentBinding, controller, QStringLiteral("arrangedObjects")),
          table_(table), controller_(controller), columns_(columns) {}

protected:
    void start() override {
        model_ = new ArrayTableModel(controller_, this);
        model_->setColumns(effectiveColumns());
        table_->setModel(model_);
        // Connected after setModel, so the table has reset before the selection is shown again.
        connect(model_, &QAbstractItemModel::modelAboutToBeReset, this,
                [this] { resetting_ = true; });
        connect(model_, &QAbstractItemModel::modelReset, this, [this] {
            resetting_ = false;
            showControllerSelection();
        });
        connect(controller_, &ArrayController::selectionIndexesChanged, this,
                [this] { showControllerSelection(); });
        connect(table_, &TableView::selectionDidChange, this, [this] { writeTableSelection(); });
        showControllerSelection();
    }
    void stop() override {
        if (controller_ != nullptr) {
            disconnect(controller_, nullptr, this, nullptr);
        }
    }
    void detachFromView() override {
        if (table_->model() == model_) {
            table_->setModel(nullptr);
        }
    }

private:
    QList<ArrayTableModel::Column> effectiveColumns() {
        if (columns_.isEmpty()) {
            QList<ArrayTableModel::Column> own;
            for (int column = 0; column < table_->columnCount(); ++column) {
                own.append({table_->columnKey(column), table_->headerTitle(column)});
            }
            return own;
        }
        if (table_->columnCount() == 0) {
            for (const auto& column : columns_) {
                table_->addColumn(column.key, column.title);
            }
        }
        return columns_;
    }

    void showControllerSelection() {
        if (resetting_ || !isBound()) {
            return;
        }
        QScopedValueRollback<bool> guard(syncing_, true);
        if (table_->selectedRowIndexes() != controller_->selectionIndexes()) {
            table_->selectRowIndexes(controller_->selectionIndexes());
        }
    }

    void writeTableSelection() {
        if (syncing_ || resetting_ || !isBound()) {
            return;
        }
        QScopedValueRollback<bool> guard(syncing_, true);
        controller_->setSelectionIndexes(table_->selectedRowIndexes());
    }

    TableView* table_;
    QPointer<ArrayController> controller_;
    QList<ArrayTableModel::Column> columns_;
    ArrayTableModel* model_ = nullptr;
    bool resetting_ = false;
    bool syncing_ = false;
};

class PopUpContentBinding : public Binding {
public:
    PopUpContentBinding(PopUpButton* popUp, ArrayController* controller,
                        const QString& contentValues)
        : Binding(popUp, ContentBinding, controller, QStringLiteral("arrangedObjects")),
          popUp_(popUp), controller_(controller), titleKey_(contentValues) {}

protected:
    void start() override {
        rebuildItems();
        connect(controller_, &ArrayController::arrangedObjectsChanged, this,
                [this] { rebuildItems(); });
        connect(controller_, &ArrayController::selectionIndexesChanged, this,
                [this] { showControllerSelection(); });
        connect(popUp_, &PopUpButton::userSelectedItem, this, [this](int index) {
            if (isBound()) {
                controller_->setSelectionIndex(index);
            }
        });
    }
    void stop() override {
        titleObservations_.clear();
        if (controller_ != nullptr) {
            disconnect(controller_, nullptr, this, nullptr);
        }
    }

private:
    void rebuildItems() {
        titleObservations_.clear();
        popUp_->removeAllItems();
        const QList<ObjectRef> items = controller_->arrangedObjects();
        for (int index = 0; index < items.size(); ++index) {
            QObject* item = items.at(index).get();
            popUp_->addItemWithTitle(textOf(valueForKeyPath(item, titleKey_)));
            popUp_->setRepresentedObjectAt(index, QVariant::fromValue(items.at(index)));
            auto observation = observe(item, titleKey_, [this, index](const QVariant& title) {
                popUp_->setItemTitleAt(index, textOf(title));
            });
            if (observation) {
                titleObservations_.push_back(std::move(observation));
            }
        }
        showControllerSelection();
    }

    void showControllerSelection() {
        if (isBound()) {
            popUp_->selectItemAtIndex(controller_->selectionIndex());
        }
    }

    PopUpButton* popUp_;
    QPointer<ArrayController> controller_;
    QString titleKey_;
    std::vector<std::unique_ptr<Observation>> titleObservations_;
};

bool fail(QString* error, const QString& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

// A key path whose first key the object does not have is almost always a misspelt name: the
// object would silently read as empty forever.
bool objectHasFirstKey(const QObject* object, const QString& keyPath) {
    if (qobject_cast<const Dictionary*>(object) != nullptr) {
        return true;
    }
    const QByteArray firstKey = keyPath.section(QLatin1Char('.'), 0, 0).toUtf8();
    return object->metaObject()->indexOfProperty(firstKey.constData()) >= 0 ||
           object->dynamicPropertyNames().contains(firstKey);
}

bool takesValueBinding(View* view) {
    if (dynamic_cast<PopUpButton*>(view) != nullptr || dynamic_cast<TextField*>(view) != nullptr ||
        dynamic_cast<DatePicker*>(view) != nullptr) {
        return true;
    }
    auto* button = dynamic_cast<Button*>(view);
    return button != nullptr && button->button() != nullptr;
}

bool checkContentBinding(View* view, QObject* object, const QString& keyPath,
                         const BindingOptions& options, QString* error) {
    if (qobject_cast<ArrayController*>(object) == nullptr) {
        return fail(error, QStringLiteral("a content binding needs an ArrayController"));
    }
    if (!keyPath.isEmpty() && keyPath != QStringLiteral("arrangedObjects")) {
        return fail(error,
                    QStringLiteral("a content binding shows arrangedObjects, not ") + keyPath);
    }
    if (auto* table = dynamic_cast<TableView*>(view)) {
        return !options.columns.isEmpty() || table->columnCount() > 0 ||
               fail(error, QStringLiteral("a table's content binding needs columns"));
    }
    if (dynamic_cast<PopUpButton*>(view) != nullptr) {
        return !options.contentValues.isEmpty() ||
               fail(error, QStringLiteral("a popup's content binding needs contentValues"));
    }
    return fail(error, QStringLiteral("only tables and popups take a content binding"));
}

Binding* makeValueBinding(View* view, QObject* object, const QString& keyPath,
                          const BindingOptions& options) {
    if (auto* popUp = dynamic_cast<PopUpButton*>(view)) {
        return new PopUpValueBinding(popUp, object, keyPath);
    }
    if (auto* field = dynamic_cast<TextField*>(view)) {
        return new TextValueBinding(field, object, keyPath, options.continuouslyUpdatesValue);
    }
    if (auto* picker = dynamic_cast<DatePicker*>(view)) {
        return new DateValueBinding(picker, object, keyPath);
    }
    return new ButtonValueBinding(dynamic_cast<Button*>(view), object, keyPath);
}

Binding* makeContentBinding(View* view, QObject* object, const BindingOptions& options) {
    auto* controller = qobject_cast<ArrayController*>(object);
    if (auto* table = dynamic_cast<TableView*>(view)) {
        return new TableContentBinding(table, controller, options.columns);
    }
    return new PopUpContentBinding(dynamic_cast<PopUpButton*>(view), controller,
                                   options.contentValues);
}

} // namespace

Binding::Binding(View* view, const QString& name, QObject* object, const QString& keyPath)
    : QObject(view), view_(view), name_(name), object_(object), keyPath_(keyPath) {
    connect(object, &QObject::destroyed, this, [this] { stop(); });
}

Binding::~Binding() = default;

bool Binding::canBind(View* view, const QString& binding, QObject* object, const QString& keyPath,
                      const BindingOptions& options, QString* error) {
    if (view == nullptr || object == nullptr) {
        return fail(error, QStringLiteral("no view or no object"));
    }
    if (binding == ContentBinding) {
        return checkContentBinding(view, object, keyPath, options, error);
    }
    if (binding != ValueBinding && binding != EnabledBinding && binding != HiddenBinding) {
        return fail(error, QStringLiteral("unknown binding ") + binding);
    }
    if (keyPath.isEmpty()) {
        return fail(error, QStringLiteral("the binding ") + binding + " needs a keyPath");
    }
    if (!objectHasFirstKey(object, keyPath)) {
        return fail(error, QStringLiteral("%1 has no key %2")
                               .arg(QString::fromUtf8(object->metaObject()->className()),
                                    keyPath.section(QLatin1Char('.'), 0, 0)));
    }
    if (binding == ValueBinding && !takesValueBinding(view)) {
        return fail(error, QStringLiteral("%1 takes no value binding")
                               .arg(QString::fromUtf8(view->metaObject()->className())));
    }
    return true;
}

Binding* Binding::bind(View* view, const QString& binding, QObject* object, const QString& keyPath,
                       const BindingOptions& options, QString* error) {
    if (!canBind(view, binding, object, keyPath, options, error)) {
        return nullptr;
    }
    Binding* made = nullptr;
    if (binding == ValueBinding) {
        made = makeValueBinding(view, object, keyPath, options);
    } else if (binding == ContentBinding) {
        made = makeContentBinding(view, object, options);
    } else {
        made = new StateBinding(view, binding, object, keyPath);
    }
    made->start();
    return made;
}

QList<Binding*> Binding::bindingsOf(const View* view) {
    if (view == nullptr) {
        return {};
    }
    return view->findChildren<Binding*>(QString(), Qt::FindDirectChildrenOnly);
}

void Binding::unbind(View* view, const QString& binding) {
    for (Binding* made : bindingsOf(view)) {
        if (binding.isEmpty() || made->name() == binding) {
            made->stop();
            made->detachFromView();
            delete made;
        }
    }
}

bool Binding::truthValue(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return false;
    }
    if (objectFromVariant(value) != nullptr) {
        return true;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        return !value.toString().isEmpty();
    case QMetaType::QVariantList:
        return !value.toList().isEmpty();
    case QMetaType::QStringList:
        return !value.toStringList().isEmpty();
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<QList<ObjectRef>>()) {
        return !value.value<QList<ObjectRef>>().isEmpty();
    }
    return value.toBool();
}

} // namespace kit
