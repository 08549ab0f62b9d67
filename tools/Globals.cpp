#include "tools/Globals.h"

namespace vantorel {

int OutlookMajorVersion = 0;
QString ReminderSoundPath;
QString HelpFilePath;
quint16 DisplayScale = 0;
outlook::ApplicationPtr OutlookApp;

}  // namespace vantorel
