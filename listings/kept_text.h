// The project's lines kept from one listing to the next: reading and splitting a million
// lines costs more than most listings' own work, so the text that one listing read serves
// the next while every file is still the very buffer that the text holds.
#pragma once

#include <cstddef>
#include <memory>

#include "listings/listing_host.h"
#include "listings/module_scope.h"
#include "listings/project.h"
#include "listings/project_text.h"

/// The text of `project`'s files as `ReadProjectText` gives it.
struct TextRead {
  std::shared_ptr<const ProjectText> Text;
  bool ReadNow = false;  ///< the files were read now rather than the kept text taken
  ListingEnd End = ListingEnd::Finished;  ///< Stopped: `Text` holds the lines read until then
};

/// The text of `project`'s files: `project.KeptText` while it still holds each file as
/// `project.Texts` gives it now, else the files read now (polling `host` once per line)
/// and kept in its place, the module rules and the graph of the old text dropped. A text
/// whose reading the host stopped is incomplete and is not kept.
TextRead ReadProjectText(Project& project, ListingHost& host);

/// `ReadProjectText`'s text, or nullptr when the host stopped the reading; `read` then
/// tells how many files were read in full.
std::shared_ptr<const ProjectText> ReadKeptText(Project& project, ListingHost& host, size_t& read);

/// The module rules of `text`, which `ReadKeptText` gave for `project`, with `project`'s
/// procedures: `project.KeptScope` while it is of that text, else read now and kept.
std::shared_ptr<const ModuleScope> ReadKeptScope(Project& project,
                                                 const std::shared_ptr<const ProjectText>& text);
