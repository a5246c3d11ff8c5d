#pragma once

namespace ponderix {

class Project;

// The project with every option and criterion name and every comment cut as
// displayText() cuts it, for views that lay out a whole project at once (the
// report view, the decision record) from builders that also serve files
// keeping every character. Taken by value: texts within the bound stay
// shared, so the copy costs little more than the lists.
Project withDisplayTexts(Project project);
// True when withDisplayTexts would change anything: most projects need no
// second copy of what they build.
bool hasTextsCutForDisplay(const Project& project);

} // namespace ponderix
