#pragma once
// For a window whose child models and views read members of the window
// itself: the members go before QObject's destructor deletes the children,
// so such a window deletes its children first, in its own destructor.

class QObject;

namespace vortan {

// Deletes every child of `parent` (a child deleting a sibling is allowed for).
void DeleteChildren(QObject& parent);

} // namespace vortan
