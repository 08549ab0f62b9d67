// What keeps vantorel.dll loaded: the COM objects it handed out and the client's
// IClassFactory::LockServer locks, and, once the add-in has run, Qt and the add-in's
// Qt objects, which cannot be unloaded from a running process. DllCanUnloadNow asks
// inUse().
#pragma once

namespace vantorel::com {

class ServerLifetime {
public:
    static void objectCreated();
    static void objectDestroyed();
    static void lock();
    static void unlock();
    // From now on the DLL stays for the life of the process.
    static void pin();
    static bool inUse();
};

}  // namespace vantorel::com
