// The pictures of the template editor.

#include "resources/artwork/Drawings.h"

namespace vantorel::artwork {

void addTemplateEditDrawings(std::map<QString, Drawing>& /*into*/) {}

}  // namespace vantorel::artwork
