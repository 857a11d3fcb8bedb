// Who made the engine: the names and addresses that its log and its menu show.
#pragma once

#define PEL_GROUP_NAME "ZENTRO"
#define PEL_GROUP_DESCRIPTION "ZENTRO (Game Development Team)"
#define PEL_AUTHOR_NAME "ZENTRO Team"
#define PEL_WEB_ADDRESS "https://zentro.example"
#define PEL_EMAIL_ADDRESS "team@zentro.example"
#define PEL_ENGINE_DATE "2004-0cak-18"

// The engine's signature in the log: a rule, the engine's name, the author with the date, a rule.
#define PEL_LOG_RULE "-------------------------------------"
#define PEL_LOG_ENGINE_LINE "PEL2D Engine : " PEL_GROUP_NAME
#define PEL_LOG_AUTHOR_LINE "  " PEL_AUTHOR_NAME "  " PEL_ENGINE_DATE
