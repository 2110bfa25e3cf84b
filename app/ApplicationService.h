// One main window per user and display. The first viewer owns the name
// org.kelvaro.Kelvaro on the session bus and answers the freedesktop
// interface org.freedesktop.Application there; a later start on the same
// display hands its files to it and ends. The bus drops the name of a viewer
// that ends, however it ends, so a viewer that crashed never stops the next
// one from starting. Without a session bus every start has its own window.
#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class CApplicationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    // What the serving viewer does when another start asks: open the files
    // (absolute paths, in order), and come to the front.
    struct Handlers {
        std::function<void(const QStringList& paths)> open;
        std::function<void()> activate;
    };
    explicit CApplicationService(Handlers handlers);
    ~CApplicationService() override;

    enum class Role {
        Serving,    // this viewer owns the name and opens what later starts hand it
        HandedOver, // a viewer of this display runs and took the files
        Alone,      // no bus, or the viewer holding the name is on another display
    };
    // Claims the name; when another viewer holds it, hands it paths (or only
    // brings it to the front when there are none).
    Role Start(const QStringList& paths);

    // The display this process shows its windows on, as the hand-over
    // compares it: a viewer opens only what a start on its own display sends,
    // named by this entry of the platform data.
    static QString DisplayIdentity();
    static inline const QString kDisplayEntry = QStringLiteral("org.kelvaro.display");

public slots:
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);
    Q_SCRIPTABLE void ActivateAction(const QString& actionName, const QVariantList& parameter,
                                     const QVariantMap& platformData);

private:
    // False, after an error reply, for a call from a start on another display.
    bool FromThisDisplay(const QVariantMap& platformData);
    bool HandOver(const QStringList& paths);

    Handlers m_handlers;
    bool m_bRegistered = false;
};
