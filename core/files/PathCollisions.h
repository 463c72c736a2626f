#pragma once

#include <optional>
#include <string>
#include <vector>

// Checks, made before a run reads or writes anything, that its outputs do not
// land on its inputs or on each other.

// The first of inputs, then of outputs (the files the run will write), that
// is the same file as output (a report or a picture): the same name once the
// folders are resolved (symbolic links, "." and ".."; a symbolic link at
// output itself is followed too, even when its target does not exist yet),
// or, when output exists, the same device and inode (hard links, symbolic
// links to it). Nothing when it collides with none.
// Each distinct folder is resolved once and a file is examined only when
// output exists, so that 15 000 names cost little more than a stat each.
std::optional<std::string> FindSameFile(const std::string& output, const std::vector<std::string>& inputs,
                                        const std::vector<std::string>& outputs);

// Two entries of paths with the same file name (the part after the last
// '/'): their indices, the first pair found; nothing when all differ. For the
// spectrum files of a run that writes them all into one folder.
std::optional<std::pair<std::size_t, std::size_t>> FindSameFileName(const std::vector<std::string>& paths);
