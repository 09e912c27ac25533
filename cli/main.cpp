// tamrel-cli: the command-line front end of the Tamrel core (build the indexes, list words,
// search, settings, prepare a corpus, import sentence files; segment Chinese and give its pinyin),
// run in the runtime folder (cli/runtime_setup.h).
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/align_command.h"
#include "cli/commands.h"
#include "cli/define_command.h"
#include "cli/import_command.h"
#include "cli/runtime_setup.h"
#include "cli/standard_output.h"
#include "cli/translations_command.h"

namespace {

int Run(int argc, char** argv) {
  CLI::App app{"Tamrel: example sentences for learners of Chinese and English"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tamrel-cli " TAMREL_VERSION, "Print the version and exit");
  std::string root;
  app.add_option("--root", root,
                 "The runtime folder (BDict/ and data/); also TAMREL_ROOT. Default: the current folder when it "
                 "holds BDict/, else for an installed program the user's own (~/.local/share/tamrel)")
      ->type_name("DIR");

  app.add_subcommand("build", "Rebuild the index files of both corpora from BDict/");

  auto* words = app.add_subcommand("words", "List words of the bilingual corpus by position");
  bool chinese = false;
  int start = 0;
  int count = 20;
  words->add_flag("--cn", chinese, "List Chinese words instead of English ones");
  words->add_option("START", start, "Position of the first word")->required();
  words->add_option("COUNT", count, "How many words (default 20)");

  auto* search = app.add_subcommand("search", "Search both corpora as the main window does");
  bool json = false;
  bool tsv = false;
  bool noPage = false;
  std::vector<std::string> queryWords;
  auto* jsonFlag = search->add_flag("--json", json, "One JSON object per result and line");
  search
      ->add_flag("--tsv", tsv,
                 "Tab-separated notes for Anki of the sentences with Chinese and English, as File > Export "
                 "Results... writes them")
      ->excludes(jsonFlag);
  search->add_flag("--no-page", noPage, "Do not write data/displayResult.html");
  bool searchAlign = false;
  search
      ->add_flag("--align", searchAlign,
                 "With --json: each bilingual result's word links, \"links\": [[CHINESE WORD, ENGLISH TOKEN], ...]")
      ->needs(jsonFlag);
  size_t offset = 0;
  search->add_option("--offset", offset, "Skip the first K sentences of each corpus: the next page of results")
      ->check(CLI::NonNegativeNumber);
  int level = 0;
  search
      ->add_option("--level", level,
                   "Order sentences of equal score for a learner of HSK level N (1-6): those whose other words "
                   "are all of level N or below first")
      ->check(CLI::Range(1, 6));
  search
      ->add_option("TEXT", queryWords,
                   "An English word or phrase, or Chinese text (several words are joined by spaces)")
      ->required()
      ->expected(-1);

  auto* settings = app.add_subcommand("settings", "Show the options, or set KEY=TRUE|FALSE");
  std::vector<std::string> assignments;
  settings->add_option("ASSIGNMENTS", assignments, "FLAGPRON, FLAGBI, FLAGMONO or FLAGSTARTUP = TRUE|FALSE");

  auto* prepare = app.add_subcommand("prepare", "Write BDict/word.dictTAG from BDict/sents.finalTAG");
  std::string tag;
  prepare->add_option("TAG", tag, "Corpus tag: BI or MO")->required()->check(CLI::IsMember({"BI", "MO"}));

  auto* segment = app.add_subcommand("segment", "Split Chinese lines from standard input into words");
  auto* pinyin = app.add_subcommand("pinyin", "Print the pinyin of each word of Chinese lines from standard input");
  std::string lexicon;
  bool keepTraditional = false;
  for (auto* command : {segment, pinyin}) {
    command->add_option("--lexicon", lexicon, "The lexicon file (default: lexicon.tsv beside tamrel-cli)");
    command->add_flag("--keep-traditional", keepTraditional,
                      "Segment traditional characters as they are, without simplifying them first");
  }

  auto* importCommand = app.add_subcommand("import", "Import sentence files into a corpus and build its index");
  std::string importTag;
  std::vector<std::string> importFiles;
  bool importAppend = false;
  importCommand->add_flag("--append", importAppend,
                          "Add the sentences after the corpus's groups instead of replacing them");
  importCommand->add_option("TAG", importTag, "Corpus: BI (bilingual) or MO (monolingual)")
      ->required()
      ->check(CLI::IsMember({"BI", "MO"}));
  importCommand
      ->add_option("FILE", importFiles,
                   "Tab-separated English-Chinese pairs, Tatoeba's sentences.csv with links.csv, or plain text")
      ->required()
      ->expected(-1);

  auto* define = app.add_subcommand("define", "The dictionary entries of a Chinese word, pinyin or an English word");
  bool defineJson = false;
  std::vector<std::string> defineWords;
  define->add_flag("--json", defineJson, "One JSON object per entry and line");
  define->add_option("TEXT", defineWords, "A Chinese word, pinyin (any notation) or an English word")
      ->required()
      ->expected(-1);

  auto* align = app.add_subcommand("align", "Link the words of \"CHINESE ||| ENGLISH\" lines from standard input");
  std::string alignCorpus;
  bool alignNoCorpus = false;
  align->add_option("--corpus", alignCorpus,
                    "The sents.final file whose pairs give co-occurrence links (default: BDict/sents.finalBI)");
  align->add_flag("--no-corpus", alignNoCorpus, "Dictionary, identical-token and punctuation links only");
  std::vector<std::string> alignWithout;
  align->add_option("--without", alignWithout, "Leave out a kind of link (to measure what it adds)")
      ->check(CLI::IsMember({"dictionary", "identical", "punctuation", "cooccurrence"}));

  auto* translations = app.add_subcommand(
      "translations", "The English words a Chinese word is aligned with in the corpus, or the reverse");
  std::string translationsWord, translationsCorpus;
  size_t translationsLimit = 5;
  translations->add_option("WORD", translationsWord, "A Chinese word as the corpus cuts it, or an English word")
      ->required();
  translations->add_option("--corpus", translationsCorpus, "The sents.final file (default: BDict/sents.finalBI)");
  translations->add_option("--limit", translationsLimit, "How many translations at most (default 5)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }

  if (app.got_subcommand(segment)) return tamrel::cli::Segment(lexicon, false, !keepTraditional);
  if (app.got_subcommand(pinyin)) return tamrel::cli::Segment(lexicon, true, !keepTraditional);
  const bool needsIndex = app.got_subcommand(words) || app.got_subcommand(search);
  if (const int entered = tamrel::cli::EnterRuntimeFolder(root, needsIndex); entered != 0) return entered;
  tamrel::cli::RemoveLeftovers();
  if (app.got_subcommand(translations)) {
    return tamrel::cli::Translations(translationsWord, translationsCorpus, translationsLimit);
  }
  if (app.got_subcommand(align)) return tamrel::cli::Align(alignCorpus, alignNoCorpus, alignWithout);
  if (app.got_subcommand(define)) {
    std::string text;
    for (const std::string& w : defineWords) text += (text.empty() ? "" : " ") + w;
    return tamrel::cli::Define(text, defineJson);
  }
  if (app.got_subcommand("build")) return tamrel::cli::Build();
  if (app.got_subcommand(prepare)) return tamrel::cli::Prepare(tag);
  if (app.got_subcommand(importCommand)) return tamrel::cli::Import(importTag, importFiles, importAppend);
  if (app.got_subcommand(words)) return tamrel::cli::Words(chinese, start, count);
  if (app.got_subcommand(search)) {
    std::string text;
    for (const std::string& w : queryWords) text += (text.empty() ? "" : " ") + w;
    using tamrel::cli::SearchOutput;
    return tamrel::cli::Search(text,
                               tsv    ? SearchOutput::kTsv
                               : json ? SearchOutput::kJson
                                      : SearchOutput::kText,
                               !noPage, offset, level, searchAlign);
  }
  return tamrel::cli::Settings(assignments);
}

}  // namespace

int main(int argc, char** argv) {
  // The C++ streams do not go through C's: standard input is read in large blocks (segment and
  // pinyin read whole files), and the answer goes through StandardOutput, which notices a write
  // that fails.
  std::ios::sync_with_stdio(false);
  tamrel::cli::StandardOutput output;
  return output.Finish(Run(argc, argv));
}
