#pragma once
// The names a user gives the wizard: pasted paths made usable, the workbook's
// file format told by its name, and the name as the run will write it.
#include <QString>

namespace vs {

// A path as typed or pasted: surrounding white space (a copied line's
// newline) dropped, a file:// address turned into its local path, and a
// leading "~/" into the home folder.
QString PastedPath(const QString& text);

// The workbook format a name asks for: "xlsx" or "csv" for a name ending so,
// "xls" for every other name.
QString WorkbookFormat(const QString& name);

// A workbook name as committed: its format's extension appended unless it
// already ends so (compared case-sensitively, so "out.XLS" becomes
// "out.XLS.xls"). `format` is the run's format when it is fixed already.
QString WithWorkbookExtension(const QString& name, const QString& format = {});

// Why a typed workbook name cannot be used (a folder, or a name that ends in
// a folder separator), in a sentence; empty for a usable name.
QString WorkbookNameProblem(const QString& name);

}  // namespace vs
