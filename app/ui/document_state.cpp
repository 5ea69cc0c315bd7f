#include "app/ui/document_state.h"

const char* DocWorkName(DocWork work) {
  switch (work) {
    case DocWork::Idle:
      return "idle";
    case DocWork::Importing:
      return "importing";
    case DocWork::UpdatingPicture:
      return "updating picture";
    case DocWork::Searching:
      return "searching";
    case DocWork::Rotating:
      return "rotating";
    case DocWork::Saving:
      return "saving";
    case DocWork::Reporting:
      return "reporting";
    case DocWork::Printing:
      return "printing";
  }
  return "?";
}
