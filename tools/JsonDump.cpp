#include "JsonDump.h"

#include "platform/TextEncoding.h"

namespace pabuko::tool {

nlohmann::ordered_json LevelRecordJson(const TLevel& l) {
    return nlohmann::ordered_json{{"TileCount", l.TileCount},
                                  {"RowDelay", l.RowDelay},
                                  {"Word", Cp1250ToUtf8(l.Word)},
                                  {"Question", Cp1250ToUtf8(l.Question)},
                                  {"Answer1", Cp1250ToUtf8(l.Answer1)},
                                  {"Answer2", Cp1250ToUtf8(l.Answer2)},
                                  {"Answer3", Cp1250ToUtf8(l.Answer3)},
                                  {"Answer4", Cp1250ToUtf8(l.Answer4)},
                                  {"RightAnswer", l.RightAnswer},
                                  {"QuizScore", l.QuizScore},
                                  {"LevelScore", l.LevelScore},
                                  {"SpawnScore", static_cast<int>(l.SpawnScore)},
                                  {"SameLetterScore", l.SameLetterScore},
                                  {"PrevLetterScore", l.PrevLetterScore},
                                  {"NextLetterScore", l.NextLetterScore},
                                  {"Remove1Score", l.Remove1Score},
                                  {"Remove2Score", l.Remove2Score},
                                  {"Remove3Score", l.Remove3Score},
                                  {"ColumnScore", static_cast<int>(l.ColumnScore)},
                                  {"Stacked36Score", l.Stacked36Score},
                                  {"Stacked35Score", l.Stacked35Score},
                                  {"Stacked37Score", l.Stacked37Score}};
}

}  // namespace pabuko::tool
