// The pictures of the About box and the preferences dialog.

#include "resources/artwork/Drawings.h"

namespace vantorel::artwork {

void addAboutDrawings(std::map<QString, Drawing>& /*into*/) {}

}  // namespace vantorel::artwork
