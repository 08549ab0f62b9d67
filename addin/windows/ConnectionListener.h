// The seam between the connect object and the add-in: the client's lifecycle calls, as
// the connect object passes them on. The add-in module will listen here; until it does,
// the factory makes connect objects without a listener.
#pragma once

#include <oaidl.h>

namespace vantorel::com {

class ConnectionListener {
public:
    // application: the client's Application, valid until disconnected().
    virtual void connected(IDispatch* application, int connectMode) = 0;
    virtual void addInsUpdated() = 0;
    virtual void startupComplete() = 0;
    virtual void beginShutdown() = 0;
    virtual void disconnected(int removeMode) = 0;

protected:
    ~ConnectionListener() = default;
};

}  // namespace vantorel::com
