#include "EachCommand.h"
#include "ImageCheck.h"

// What is wrong or doubtful in the stored configuration, one line each.
int command::Check(const Invocation&, Session& session)
{
    std::vector<uint8_t> image;
    if (int status = session.Load(image)) return status;
    std::ostream& out = session.Output().out;
    const std::vector<ImageProblem> problems = FindImageProblems(image.data());
    for (const ImageProblem& problem : problems) {
        if (problem.slot < 0) out << "header: " << problem.text << "\n";
        else out << "slot " << problem.slot << ": " << problem.text << "\n";
    }
    if (problems.empty()) out << "no problems found\n";
    return problems.empty() ? kCtlOk : kCtlProblemsFound;
}
