// vantorctl's commands, one function each, each in a file of its own: the reading ones
// (dump, list, check, backup, export) and the writing ones, which share the
// read-change-write of ConfigurationChange.h.
#pragma once

#include "CommandLine.h"
#include "CommandSession.h"

namespace command {

int Backup(const Invocation& call, Session& session);
int Check(const Invocation& call, Session& session);
int Copy(const Invocation& call, Session& session);
int Delete(const Invocation& call, Session& session);
int Dump(const Invocation& call, Session& session);
int Export(const Invocation& call, Session& session);
int Import(const Invocation& call, Session& session);
int List(const Invocation& call, Session& session);
int Rename(const Invocation& call, Session& session);
int Restore(const Invocation& call, Session& session);
int Use(const Invocation& call, Session& session);

}  // namespace command
