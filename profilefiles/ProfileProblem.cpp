#include "ProfileProblem.h"

namespace {

std::string What(const FieldProblem& problem)
{
    const std::vector<std::string>& v = problem.values;
    switch (problem.kind) {
    case ProblemKind::kFileTooLong: return "longer than 1 MiB";
    case ProblemKind::kNotJson: return "not JSON: " + v.at(0);
    case ProblemKind::kNoProfilesList: return "has no \"profiles\" list";
    case ProblemKind::kMissing: return "missing";
    case ProblemKind::kNotAnObject: return "not an object";
    case ProblemKind::kNotAText: return "not a text";
    case ProblemKind::kNotAList: return "not a list";
    case ProblemKind::kNotAWholeNumber: return "not a whole number";
    case ProblemKind::kOutsideRange: return v.at(0) + " is outside " + v.at(1) + "-" + v.at(2);
    case ProblemKind::kUnknownKeyName: return "unknown key name " + v.at(0);
    case ProblemKind::kUnknownPadButtonName: return "unknown pad button name " + v.at(0);
    case ProblemKind::kNotInCodePage: return "the character \"" + v.at(0) + "\" is not in " + v.at(1);
    case ProblemKind::kHoldsNul: return "holds a NUL character";
    case ProblemKind::kNameTooLong: return v.at(0) + " bytes, at most " + v.at(1);
    case ProblemKind::kNoFreeSlot: return "no free slot is left for it";
    case ProblemKind::kNameRepeated: return "the same as " + v.at(0) + "'s; with --replace each name may come once";
    }
    return {};
}

}  // namespace

std::string EnglishText(const FieldProblem& problem)
{
    return (problem.field.empty() ? "" : problem.field + ": ") + What(problem);
}

std::string EnglishText(const ProfileProblem& problem)
{
    if (problem.profile.english.empty()) return problem.file + " is refused: " + What(problem.problem);
    return (problem.file.empty() ? "" : problem.file + ": ") + problem.profile.english + ": " + EnglishText(problem.problem);
}

std::vector<std::string> EnglishLines(const std::vector<ProfileProblem>& problems)
{
    std::vector<std::string> lines;
    for (const ProfileProblem& problem : problems) lines.push_back(EnglishText(problem));
    return lines;
}
