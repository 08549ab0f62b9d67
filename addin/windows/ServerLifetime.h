// What keeps vantorel.dll loaded: the COM objects it handed out and the client's
// IClassFactory::LockServer locks. DllCanUnloadNow asks inUse().
#pragma once

namespace vantorel::com {

class ServerLifetime {
public:
    static void objectCreated();
    static void objectDestroyed();
    static void lock();
    static void unlock();
    static bool inUse();
};

}  // namespace vantorel::com
