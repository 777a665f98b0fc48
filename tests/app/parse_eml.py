"""Parses .EML files with Python's email package, independently of the
composer, and prints what a mail reader would see in each, as one JSON list:
subject, content type, the name and file-name parameters, the decoded body
(base64 again, so the JSON stays ASCII) and the defects the parser found."""
import base64
import email
import email.policy
import json
import sys

result = []
for path in sys.argv[1:]:
    with open(path, "rb") as f:
        message = email.message_from_binary_file(f, policy=email.policy.default)
    body = message.get_payload(decode=True)
    result.append({
        "subject": str(message["Subject"]),
        "from": str(message["From"]),
        "to": str(message["To"]),
        "type": message.get_content_type(),
        "name": message["Content-Type"].params.get("name"),
        "filename": message.get_filename(),
        "body": base64.b64encode(body).decode("ascii"),
        "defects": [type(d).__name__ for d in message.defects],
    })
json.dump(result, sys.stdout, ensure_ascii=True)
