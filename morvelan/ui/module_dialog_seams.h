// What morvelan's dialogs ask of the rest of the program, behind seams that the program fills
// and tests replace: the file chooser, the opener of a module's documentation, the module
// information dialog, and the workspace (main view, project tree and document) that the
// module insertion dialogs place new tiles in.
#pragma once

#include <functional>
#include <string>

class QWidget;
class CModuleTile;
class CMorvelanDoc;

namespace morvelan {

// One file dialog: open or save, a filter in the "Name|pattern|...|" form, the default
// extension (empty: none), and whether saving over a file asks first.
struct FileDialogSpec {
    bool save = false;
    std::string filter;
    std::string defaultExtension;
    bool overwritePrompt = false;
};

// The chosen path, empty when cancelled.
using FileChooser = std::function<std::string(const FileDialogSpec& wanted, QWidget* parent)>;
// Replaces the chooser (an empty one restores the platform's file dialog).
void setFileChooser(FileChooser chooser);
std::string ChooseFile(const FileDialogSpec& wanted, QWidget* parent);

// Opens the documentation of a module type (the application's ShowModuleDocumentation).
using DocumentationOpener = std::function<void(const std::string& typeName)>;
void setDocumentationOpener(DocumentationOpener opener);
void OpenModuleDocumentation(const std::string& typeName);

// Runs the module information dialog for a module type. Until one is set, the module's
// documentation opens instead.
using ModuleInfoViewer = std::function<void(const std::string& typeName, QWidget* parent)>;
void setModuleInfoViewer(ModuleInfoViewer viewer);
void ShowModuleInformation(const std::string& typeName, QWidget* parent);

// The workspace as the insertion dialogs see it. The defaults reach the main view and the tree
// through the document's hooks; the main frame gives its own.
class IModuleWorkspace {
public:
    virtual ~IModuleWorkspace() = default;
    virtual CMorvelanDoc* Document() = 0;
    // The program folder the description files are read from.
    virtual std::string ProgramDir();
    // The main view's scroll position.
    virtual int HorizontalScroll();
    virtual int VerticalScroll();
    // The tile selected in the project tree (null when none).
    virtual CModuleTile* SelectedTile();
    // Fills the tree again, repaints the main view, selects a tile in the tree.
    virtual void FillTree();
    virtual void RepaintView();
    virtual void SelectModul(CModuleTile* tile);
};

} // namespace morvelan
