#include "source/title_source.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/cp932.h"
#include "core/errors.h"
#include "output_files.h"
#include "scenario/project_file.h"
#include "source/page_source.h"
#include "source/project_source.h"
#include "source/source_text.h"
#include "vfs/archive.h"
#include "vfs/atomic_file.h"
#include "vfs/real_files.h"

namespace kest::source {

namespace fs = std::filesystem;

namespace {

constexpr char kProjectSource[] = "project.kest";
constexpr char kProjectFile[] = "kest.kpb";

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool IsPageName(std::string_view name) {
  return name.size() > 4 && cp932::SameText(name.substr(name.size() - 4), ".ksb");
}

std::string ReadText(const std::string& path) {
  const Bytes bytes = real_files::Load(path);
  return std::string(bytes.begin(), bytes.end());
}

// One file of the title, by its CP932 name, from a folder or an archive.
struct TitleFile {
  std::string name;
  Bytes content;
};

bool HoldsProject(const std::vector<TitleFile>& files) {
  return std::any_of(files.begin(), files.end(), [](const TitleFile& file) { return cp932::SameText(file.name, kProjectFile); });
}

std::vector<TitleFile> ReadArchive(const std::string& path) {
  std::vector<TitleFile> files;
  TVrFileCollection archive;
  archive.LoadFromFile(path);
  for (const auto& entry : archive) {
    if (entry->Name() == kEndEntryName) continue;
    files.push_back({entry->Name(), archive.Unpack(*entry, archive.ReadStoredBytes(*entry))});
  }
  if (!HoldsProject(files)) throw KestError(cp932::FromUtf8Lenient(path + ": the archive holds no " + kProjectFile + ", so it is no title"));
  return files;
}

// A title is a folder with kest.kpb and its pages, a folder with game.dat, or an archive.
std::vector<TitleFile> ReadTitle(const std::string& title) {
  std::vector<TitleFile> files;
  if (fs::is_directory(title)) {
    if (!real_files::FindEntry(title + "/", kProjectFile)) {
      if (const std::optional<std::string> game_data = real_files::FindEntry(title + "/", "game.dat");
          game_data && real_files::IsFile(*game_data))
        return ReadArchive(*game_data);
      throw KestError(cp932::FromUtf8Lenient(title + ": the folder holds neither game.dat nor " + kProjectFile + ", so it is no title"));
    }
    std::vector<std::string> relative;
    for (const auto& item : fs::recursive_directory_iterator(title))
      if (item.is_regular_file()) relative.push_back(fs::relative(item.path(), title).generic_string());
    std::sort(relative.begin(), relative.end());
    for (const std::string& path : relative) {
      std::string name = cp932::FromUtf8Lenient(path);
      std::replace(name.begin(), name.end(), '/', '\\');
      files.push_back({name, real_files::Load((fs::path(title) / path).string())});
    }
    return files;
  }
  if (!fs::exists(title)) throw KestError(cp932::FromUtf8Lenient(title + ": no such file or folder"));
  if (!real_files::IsFile(title)) throw KestError(cp932::FromUtf8Lenient(title + ": not a file or folder that can be read"));
  return ReadArchive(title);
}

}  // namespace

std::string PageNameOf(const std::string& relative_source_path) {
  std::string name = cp932::FromUtf8(relative_source_path.substr(0, relative_source_path.size() - 4));
  std::replace(name.begin(), name.end(), '/', '\\');
  const std::size_t slash = name.rfind('\\');
  const std::size_t dot = name.rfind('.');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return has_extension ? name : name + ".ksb";
}

std::string SourcePathOf(const std::string& page_name) {
  std::string path = EndsWith(page_name, ".ksb") ? page_name.substr(0, page_name.size() - 4) : page_name;
  return path + ".kss";
}

CompileReport CompileTitle(const CompileOptions& options) {
  const std::string& folder = options.source_folder;
  if (!fs::is_directory(folder)) throw KestError(cp932::FromUtf8Lenient(folder + ": not a folder"));
  const std::string project_path = (fs::path(folder) / kProjectSource).string();
  if (!real_files::IsFile(project_path))
    throw KestError(cp932::FromUtf8Lenient(folder + ": no " + kProjectSource + " (the project's settings)"));

  SourceErrors errors;
  std::vector<TitleFile> outputs;
  const ProjectFile project = CompileProjectSource(ReadText(project_path), project_path, errors);
  outputs.push_back({kProjectFile, WriteProjectFile(project)});

  std::vector<std::string> relative;
  for (const auto& item : fs::recursive_directory_iterator(folder))
    if (item.is_regular_file()) relative.push_back(fs::relative(item.path(), folder).generic_string());
  std::sort(relative.begin(), relative.end());

  CompileReport report;
  std::map<std::string, CompiledPage> pages;
  std::vector<std::string> page_order;
  for (const std::string& path : relative) {
    const std::string full = (fs::path(folder) / path).string();
    if (path == kProjectSource) continue;
    if (EndsWith(path, ".kss")) {
      const std::string name = PageNameOf(path);
      pages.emplace(name, CompilePageSource(ReadText(full), full, name, errors));
      page_order.push_back(name);
      continue;
    }
    std::string name = cp932::FromUtf8Lenient(path);
    std::replace(name.begin(), name.end(), '/', '\\');
    outputs.push_back({name, real_files::Load(full)});
    ++report.copied;
  }
  ResolveTargets(pages, errors);
  // Nothing is written unless every file compiled.
  if (!errors.Empty()) throw SourceErrorList(errors.All());
  for (const std::string& name : page_order) outputs.push_back({name, pages.at(name).page->Write()});
  report.pages = page_order.size();

  if (!options.archive.empty()) {
    TVrFileCollection archive;
    for (TitleFile& file : outputs) {
      TVrFile& entry = archive.AddMemoryEntry(file.name);
      entry.Data->Write(file.content.data(), static_cast<std::int64_t>(file.content.size()));
      entry.ChecksumOfUncompressed = true;
    }
    TVxBigMemoryStream image;
    archive.WriteArchive(image);
    WriteFileAtomically(options.archive, image.Memory().Data());
    return report;
  }
  fs::create_directories(options.output_folder);
  for (const TitleFile& file : outputs) {
    std::string why;
    const std::optional<std::string> path = tool::PlaceBelow(options.output_folder, file.name, why);
    if (!path) throw KestError(cp932::FromUtf8Lenient(ToOutput(file.name) + ": " + why));
    tool::WriteNewFile(*path, file.content);
  }
  return report;
}

DumpReport DumpTitle(const std::string& title, const std::string& source_folder) {
  const std::vector<TitleFile> files = ReadTitle(title);
  DumpReport report;

  // Parse every page first: jumps name labels of other pages.
  std::map<std::string, std::unique_ptr<TPage>> pages;
  for (const TitleFile& file : files) {
    if (!IsPageName(file.name)) continue;
    auto page = std::make_unique<TPage>();
    try {
      page->Parse(file.content, file.name);
      if (page->Version > kNewestPageVersion) {
        // A page from a newer player loads empty here; keep its bytes rather than lose them.
        report.warnings.push_back(ToOutput(file.name) + ": kept as it is: page version " +
                                  std::to_string(page->Version) + " is newer than this tool reads");
        continue;
      }
      pages.emplace(cp932::UpperCase(file.name), std::move(page));
    } catch (const std::exception& error) {
      report.warnings.push_back(ToOutput(file.name) + ": kept as it is: " + ErrorText(error));
    }
  }
  const auto find_page = [&](std::string_view name) -> const TPage* {
    const auto found = pages.find(cp932::UpperCase(name));
    return found == pages.end() ? nullptr : found->second.get();
  };

  fs::create_directories(source_folder);
  for (const TitleFile& file : files) {
    std::string output_name = file.name;
    Bytes content = file.content;
    if (file.name == kProjectFile) {
      try {
        const ProjectFile project = ReadProjectFile(file.content, kProjectFile);
        if (project.version > kNewestProjectVersion) {
          // A project from a newer player reads as its version alone; keep its bytes.
          report.warnings.push_back(std::string(kProjectFile) + ": kept as it is: project version " +
                                    std::to_string(project.version) + " is newer than this tool reads");
        } else {
          const std::string text = DumpProjectSource(project);
          output_name = kProjectSource;
          content.assign(text.begin(), text.end());
        }
      } catch (const KestError& error) {
        report.warnings.push_back(std::string(kProjectFile) + ": kept as it is: " + ErrorText(error));
      }
    } else if (const TPage* page = IsPageName(file.name) ? find_page(file.name) : nullptr) {
      const std::string text = DumpPageSource(*page, find_page);
      output_name = cp932::FromUtf8Lenient(SourcePathOf(ToOutput(file.name)));
      content.assign(text.begin(), text.end());
      ++report.pages;
    } else {
      ++report.copied;
    }
    std::string why;
    const std::optional<std::string> path = tool::PlaceBelow(source_folder, output_name, why);
    if (!path) {
      report.warnings.push_back(ToOutput(file.name) + ": refused: " + why);
      continue;
    }
    tool::WriteNewFile(*path, content);
  }
  return report;
}

std::string DumpFile(const std::string& path) {
  if (!real_files::IsFile(path)) throw KestError(cp932::FromUtf8Lenient(path + ": no such file"));
  const Bytes bytes = real_files::Load(path);
  const std::string name = fs::path(path).filename().string();
  if (cp932::SameText(name, kProjectFile)) {
    const ProjectFile project = ReadProjectFile(bytes, path);  // errors name the whole path
    if (project.version > kNewestProjectVersion)
      throw KestError(cp932::FromUtf8Lenient(path + ": project version " + std::to_string(project.version) +
                                             " is newer than this tool reads (at most " +
                                             std::to_string(kNewestProjectVersion) + ")"));
    return DumpProjectSource(project);
  }
  TPage page;
  page.Parse(bytes, cp932::FromUtf8Lenient(path));  // errors name the whole path...
  page.Name = cp932::FromUtf8Lenient(name);       // ...and jumps within the page name the page
  if (page.Version > kNewestPageVersion)
    throw KestError(cp932::FromUtf8Lenient(path + ": page version " + std::to_string(page.Version) +
                                           " is newer than this tool reads (at most " + std::to_string(kNewestPageVersion) + ")"));
  return DumpPageSource(page, [&](std::string_view other) -> const TPage* {
    return cp932::SameText(other, page.Name) ? &page : nullptr;
  });
}

}  // namespace kest::source
