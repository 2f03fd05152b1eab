tell application "System Events"
    tell appearance preferences to set dark mode to false
end tell
