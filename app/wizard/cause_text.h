#pragma once
// Why a run failed, as the wizard shows it under its own sentence.
#include <QString>
#include <string>

namespace vs {

// The run's cause ("cannot create a file in /x: Permission denied") as a
// sentence: capital first letter, full stop at the end.
QString CauseSentence(const std::string& cause);

}  // namespace vs
