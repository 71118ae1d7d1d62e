#include "session.h"

namespace md {

SessionContext& Session() {
    static SessionContext context;
    return context;
}

IOpenWindowList* openWindowList() {
    // The host window is a QObject that also implements the caption list; the
    // list is plain C++, so a dynamic cast finds it across library boundaries.
    return dynamic_cast<IOpenWindowList*>(Session().HostMainForm);
}

}  // namespace md
