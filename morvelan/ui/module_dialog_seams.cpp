#include "morvelan/ui/module_dialog_seams.h"

#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/ui/morvelan_app.h"
#include "xui/modal_cursor.h"

#include <QFileDialog>

namespace morvelan {
namespace {

FileChooser& chooser() {
    static FileChooser c;
    return c;
}
DocumentationOpener& opener() {
    static DocumentationOpener o;
    return o;
}
ModuleInfoViewer& infoViewer() {
    static ModuleInfoViewer v;
    return v;
}

std::string PlatformChooser(const FileDialogSpec& wanted, QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(wanted.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(wanted.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(QtFilterFromPipes(wanted.filter)));
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !wanted.overwritePrompt);
    if (!wanted.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(wanted.defaultExtension));
    const xui::ModalCursorLift lift;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toLocal8Bit().toStdString();
}

} // namespace

void setFileChooser(FileChooser c) {
    chooser() = std::move(c);
}

std::string ChooseFile(const FileDialogSpec& wanted, QWidget* parent) {
    return chooser() ? chooser()(wanted, parent) : PlatformChooser(wanted, parent);
}

void setDocumentationOpener(DocumentationOpener o) {
    opener() = std::move(o);
}

void OpenModuleDocumentation(const std::string& typeName) {
    if (opener())
        opener()(typeName);
    else
        theApp().ShowModuleDocumentation(typeName);
}

void setModuleInfoViewer(ModuleInfoViewer v) {
    infoViewer() = std::move(v);
}

void ShowModuleInformation(const std::string& typeName, QWidget* parent) {
    if (infoViewer())
        infoViewer()(typeName, parent);
    else
        OpenModuleDocumentation(typeName);
}

std::string IModuleWorkspace::ProgramDir() {
    return mv::docHooks().ProgramDir();
}
int IModuleWorkspace::HorizontalScroll() {
    return mv::docHooks().HorizontalScroll();
}
int IModuleWorkspace::VerticalScroll() {
    return mv::docHooks().VerticalScroll();
}
CModuleTile* IModuleWorkspace::SelectedTile() {
    return mv::docHooks().SelectedTile();
}
void IModuleWorkspace::FillTree() {
    mv::docHooks().RefreshTree();
}
void IModuleWorkspace::RepaintView() {
    mv::docHooks().RedrawView();
}
void IModuleWorkspace::SelectModul(CModuleTile* /*tile*/) {}

} // namespace morvelan
