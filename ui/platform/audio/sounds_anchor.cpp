// The sound library carries only compiled-in resources; a static library still needs one
// translation unit of its own.
namespace sounds {
int resourceLibraryAnchor = 0;
}
