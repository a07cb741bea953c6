#pragma once
// Saving and loading projects from the main window: the shared file
// dialog, the file itself, and putting a loaded project in place.
namespace kavrel {

class MatrixForm;
class MxCommonDialog;

inline constexpr const char* kProjectSaved = "Matrix Project saved";
inline constexpr const char* kProjectLoaded = "Matrix Project loaded";

// mxsave: asks for a file and writes the project to it. The file is
// replaced only by a complete write; a failure is reported and leaves it
// as it was.
void saveProject(MatrixForm& form, MxCommonDialog& dialog);
// myload: asks for a file, reads and checks all of it, and only then
// replaces the project and starts the selected entries. A file that is not
// taken is reported and changes nothing; the show keeps running.
void loadProject(MatrixForm& form, MxCommonDialog& dialog);

}  // namespace kavrel
